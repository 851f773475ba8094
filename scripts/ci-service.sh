#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# `glomiecode-cli serve` checked as its clients meet it, one server for all of them, on loopback:
#   browser  the decoder page for a full code in headless Chromium shows the code and every sentence
#            `glomiecode-cli decode` gives for it; its "Edit this code" link opens the encoder in
#            the browser that `serve` hosts, which takes the code whole (its share link carries it,
#            no question about problems is open) and shows the same sentences;
#   load     wrk with 2 threads and 16 connections for 10 s on that page: at least 5,000 requests
#            per second and no error responses;
#   flood    hostile clients: requests that are not plain HTTP/1.1 are answered as HTTP wants and
#            closed without a reset; with 1,024 open files allowed, under 1,100 connections that
#            each send one byte every 15 s a new client gets its page within 2 s once their deadline
#            has passed and the server stays under 10 % CPU; a burst of 3,000 connections never has
#            it hold more than 1,000 descriptors, and a new client gets its page during and after
#            it; while 980 connections each send a small request every 4 s, a new client gets its
#            page within 2 s throughout (the connection idle longest makes room); while 900
#            connections each ask for a large file 50 times at once and read nothing, the server
#            stays under 64 MB and a new client gets its page within 2 s. Then, each with its own
#            server: --per-client closes a client's connection over its cap at once; serve keeps
#            serving with its output closed or its error output never read; and the encoder's own
#            decoder page, under the same burst, holds a few connections at most, answers a new
#            client during it, and OK still saves within 10 s. About three minutes.
# The server stops on SIGTERM with status 0 at the end. The figures measured are printed.
# Usage: scripts/ci-service.sh [BUILD_DIR] [CHECK...]   (default build/ci, and every check in the
# order above; the CLI is built there if missing, and the browser's site brought up to date in
# build/web by scripts/build-web.sh, so that no site left from an older build is checked)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
shift || true
checks=("$@")
((${#checks[@]})) || checks=(browser load flood)
for check in "${checks[@]}"; do
  case $check in browser | load | flood) ;; *) echo "usage: $0 [BUILD_DIR] [browser|load|flood]..." >&2 && exit 2 ;; esac
done
wants() { [[ " ${checks[*]} " == *" $1 "* ]]; }

scripts/install-deps.sh chromium wrk python3
cli=$build/src/cli/glomiecode-cli
if [ ! -x "$cli" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake --preset ci >/dev/null
  cmake --build "$build" --target glomiecode-cli
fi
wants browser && scripts/build-web.sh

# Every section, "+" runs, a bare "%" and characters that need care in a URL.
full_code='GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|-[-]'
# The code as the encoder puts it in the decoder address: blanks as %20, "+" as %2B, all else kept.
encoder_escape() { printf '%s' "$1" | sed -e 's/ /%20/g' -e 's/+/%2B/g'; }

failures=0
fail() { echo "ci-service: $*" >&2; failures=$((failures + 1)); }

work=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
    kill -TERM "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The server's limit of open files; the flood raises its own soft limit up to the hard one.
hard=$(ulimit -Hn)
if [ "$hard" = unlimited ] || [ "$hard" -ge 1024 ]; then ulimit -Sn 1024; fi
# The encoder's site, and a large script beside it for clients that ask for it and never read.
site=$work/site
mkdir -p "$site"
wants browser && cp build/web/* "$site/"
[ -f "$site/index.html" ] || printf '<!DOCTYPE html><title>encoder</title>\n' >"$site/index.html"
head -c 1000000 /dev/zero | tr '\0' 'a' >"$site/unread-large.js"

"$cli" serve --port 0 --web "$site" >"$work/serve.out" 2>"$work/serve.log" &
server=$!
for _ in $(seq 100); do
  grep -q 'http://' "$work/serve.out" 2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { cat "$work/serve.log" >&2 && echo "ci-service: the server did not start" >&2 && exit 1; }
  sleep 0.1
done
base=$(grep -o 'http://127\.0\.0\.1:[0-9]*/' "$work/serve.out" | head -n1)
[ -n "$base" ] || { echo "ci-service: the server is not listening on 127.0.0.1" >&2 && exit 1; }
port=${base##*:}
port=${port%/}
pages_logged() { grep -c '^GET /cgi-usr/qpx/gcp.pl 200 ' "$work/serve.log" || true; }

# ---- browser
# Chromium's DOM after the page's scripts ran (in virtual time, so the engine has loaded).
dump_dom() { # url output
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --virtual-time-budget=10000 --dump-dom "$1" >"$2" 2>"$work/chromium.log" || {
    tail -n 20 "$work/chromium.log" >&2
    fail "chromium failed on $1"
    return 1
  }
}
# The page's text as a reader sees it.
unescape() { sed -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e "s/&#39;/'/g" -e 's/&amp;/\&/g'; }
text_of() { sed -e 's/<[^>]*>/\n/g' "$1" | unescape | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' | grep -v '^$' || true; }
# Every sentence of `decode` on the page whose text is in $1; $sentences is how many were checked.
# (Not run in a subshell: its failures must count.)
check_sentences() { # text-file what code
  local checked=0 line sentence
  while IFS= read -r line; do
    sentence=$(printf '%s' "$line" | sed -e 's/^[[:space:]]*//' -e 's/^[-*] //' -e 's/[[:space:]]*$//')
    [ -n "$sentence" ] || continue
    case "$sentence" in "$3") continue ;; esac
    checked=$((checked + 1))
    grep -qF -- "$sentence" "$1" || fail "missing from $2: $sentence"
  done <"$work/decode.txt"
  [ "$checked" -gt 0 ] || fail "glomiecode-cli decode gave no sentences"
  sentences=$checked
}
check_browser() {
  # The code with what no control holds left out ("[-]" after the last tune), so that the encoder
  # takes it without a question.
  local code=${full_code%'[-]'} url edit share shared checked sentences=0
  "$cli" decode "$code" >"$work/decode.txt"
  url="${base}cgi-usr/qpx/gcp.pl?name=$(encoder_escape "$code")"
  echo "ci-service: loading $url"
  dump_dom "$url" "$work/dom.html" || return 0
  text_of "$work/dom.html" >"$work/page.txt"
  grep -qxF -- "$code" "$work/page.txt" || fail "the decoder page does not show the code"
  check_sentences "$work/page.txt" "the decoder page" "$code"
  checked=$sentences
  # The link to the encoder, as the decoder page wrote it.
  edit=$(grep -o '<a href="[^"]*">Edit this code</a>' "$work/dom.html" | sed -e 's/^<a href="//' -e 's/">.*//' | unescape)
  if [ -z "$edit" ]; then
    fail "the decoder page has no link to the encoder"
    return 0
  fi
  echo "ci-service: loading ${base}${edit#/}"
  dump_dom "${base}${edit#/}" "$work/encoder.html" || return 0
  text_of "$work/encoder.html" >"$work/encoder.txt"
  share=$(grep -o '<a id="share"[^>]*>' "$work/encoder.html" | grep -o 'href="[^"]*"' | sed -e 's/^href="//' -e 's/"$//' | unescape)
  # The page's share link percent-encodes the code as JavaScript's encodeURIComponent does.
  shared=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1].split("#code=", 1)[-1]))' "$share")
  [ "$shared" = "$code" ] || fail "the encoder's share link holds '$shared', not the code"
  grep -q '<dialog id="problems"[^>]* open' "$work/encoder.html" && fail "the encoder asks about problems in a code it made"
  check_sentences "$work/encoder.txt" "the encoder's page" "$code"
  [ "$(pages_logged)" -gt 0 ] || fail "the server logged no page"
  grep -q '^GET /encoder/engine.js 200 ' "$work/serve.log" || fail "the server logged no engine for the encoder"
  echo "ci-service: the decoder page in Chromium shows the code and all $checked lines of glomiecode-cli decode;"
  echo "ci-service: its link opens the encoder in the browser with the code taken whole and the same lines"
}

# ---- load
check_load() {
  local min_rate=5000 escaped url first rate requests non2xx socket_errors before
  # wrk takes only a URL it can parse: the characters a URL cannot carry go escaped as well.
  escaped=$(encoder_escape "$full_code" | sed -e 's/%\([^0-9A-F]\|$\)/%25\1/g' -e 's/|/%7C/g' -e 's/</%3C/g' -e 's/>/%3E/g')
  url="${base}cgi-usr/qpx/gcp.pl?name=$escaped"
  # One request first: the page must be there before it is measured.
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  printf 'GET /%s HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n' "${url#"$base"}" >&3
  first=$(head -n1 <&3 | tr -d '\r')
  exec 3<&-
  case "$first" in *" 200 "*) ;; *) fail "the page answered '$first'" && return 0 ;; esac
  before=$(pages_logged)
  timeout 60 wrk -t2 -c16 -d10s --latency "$url" | tee "$work/wrk.txt"
  rate=$(awk '/^Requests\/sec:/ {print $2}' "$work/wrk.txt")
  requests=$(awk '/requests in/ {print $1}' "$work/wrk.txt")
  non2xx=$(awk -F': *' '/Non-2xx or 3xx responses/ {print $2}' "$work/wrk.txt")
  non2xx=${non2xx:-0}
  socket_errors=$(sed -n 's/.*Socket errors: \(.*\)/\1/p' "$work/wrk.txt")
  echo "ci-service: ${rate:-?} requests/s, ${requests:-?} requests, non-2xx ${non2xx}," \
    "socket errors: ${socket_errors:-none}, pages logged by the server: $(($(pages_logged) - before))"
  if [ -z "$rate" ] || ! awk -v r="$rate" -v m="$min_rate" 'BEGIN { exit !(r >= m) }'; then
    fail "below $min_rate requests per second"
  fi
  [ "$non2xx" -eq 0 ] || fail "$non2xx error responses"
  [ -z "$socket_errors" ] || fail "socket errors: $socket_errors"
}

# ---- flood, against the one server
check_flood() {
  echo "ci-service: requests that are not plain HTTP/1.1"
  python3 tests/service/serve_checks.py protocol "$port" || fail "the protocol checks"
  grep -qF 'GET /a%1b\x5C\xC2\x9B 404 ' "$work/serve.log" || fail "the log does not show the request as received"
  echo "ci-service: the flood"
  python3 tests/service/flood.py --port "$port" --pid "$server" --max-fds 1000 --check || fail "the slow flood"
  echo "ci-service: a burst of connections"
  python3 tests/service/flood.py --mode burst --connections 3000 --hold 12 --probes 4 --port "$port" --pid "$server" \
    --max-fds 1000 --max-cpu 100 --check || fail "the burst"
  echo "ci-service: kept-alive connections that each ask for a page every 4 s"
  python3 tests/service/flood.py --mode keep-alive --connections 980 --interval 4 --duration 30 --port "$port" \
    --pid "$server" --max-fds 1000 --max-cpu 50 --check || fail "the kept-alive flood"
  echo "ci-service: connections that ask for a large file again and again and read nothing"
  python3 tests/service/flood.py --mode unread --connections 900 --duration 20 --port "$port" --pid "$server" \
    --unread-path /encoder/unread-large.js --max-fds 1000 --max-cpu 100 --max-rss-mb 64 --check || fail "the unread flood"
}

# ---- flood, each with a server of its own
check_flood_alone() {
  local harness=$build/bench/gui/encoder_flood encoder encoder_port encoder_page status=0 saved
  echo "ci-service: the encoder's own decoder page under a burst, then OK"
  [ -x "$harness" ] || cmake --build "$build" --target encoder_flood
  # The encoder is given 1,024 files as the server was; it raises its own limit as far as it may.
  (ulimit -Sn 1024 && exec "$harness" 24 2 "$work/encoder.ini") >"$work/encoder.out" 2>"$work/encoder.err" &
  encoder=$!
  for _ in $(seq 100); do grep -q '^port ' "$work/encoder.out" && break; sleep 0.1; done
  encoder_port=$(sed -n 's/^port //p' "$work/encoder.out")
  encoder_page=/$(sed -n 's/^host [^/]*\///p' "$work/encoder.out")/
  python3 tests/service/flood.py --mode burst --connections 3000 --hold 12 --probes 4 --port "$encoder_port" \
    --path "$encoder_page" --pid "$encoder" --max-fds 1000 --max-cpu 100 --check || fail "the encoder's page under a burst"
  wait "$encoder" || status=$?
  grep '^encoder:' "$work/encoder.out" || true
  saved=$(sed -n 's/^encoder: OK saved the answers in \([0-9]*\) ms.*/\1/p' "$work/encoder.out")
  if [ "$status" -ne 0 ] || [ -z "$saved" ] || [ "$saved" -gt 10000 ]; then
    cat "$work/encoder.err" >&2
    fail "the encoder did not save its answers within 10 s after the burst"
  fi
  echo "ci-service: a cap per client"
  python3 tests/service/serve_checks.py per-client "$cli" || fail "the cap per client"
  echo "ci-service: a log nobody takes"
  python3 tests/service/serve_checks.py closed-output "$cli" || fail "serve with its output closed"
  python3 tests/service/serve_checks.py unread-output "$cli" || fail "serve with its error output unread"
}

for check in "${checks[@]}"; do
  echo "== ci-service: $check"
  "check_$check"
done
status=0
kill -TERM "$server"
wait "$server" || status=$?
server=
[ "$status" -eq 0 ] || fail "the server exited with status $status on SIGTERM"
wants flood && check_flood_alone

[ "$failures" -eq 0 ] || { echo "ci-service: $failures check(s) failed" >&2 && exit 1; }
echo "ci-service: passed (${checks[*]})"
