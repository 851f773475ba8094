#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Loads the decoder page for a full code in a real browser (headless Chromium) from
# `glomiecode-cli serve`, and checks that the page shows the code and every sentence that
# `glomiecode-cli decode` gives for it. Then follows the page's "Edit this code" link to the
# encoder in the browser that `serve` hosts, and checks that it took the code whole: its share
# link carries the code, no question about problems is open, and it shows the same sentences.
# Usage: scripts/ci-browser.sh [BUILD_DIR]   (default build/ci; the CLI is built there if missing,
# the site in build/web by scripts/build-web.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
tool=ci-browser

scripts/install-deps.sh chromium
[ -f build/web/index.html ] && [ -f build/web/engine.js ] || scripts/build-web.sh
serve_options=(--web build/web)
. scripts/decoder-server.sh
# The decoder page's code with what no control holds left out ("[-]" after the last tune), so
# that the encoder takes it without a question.
code=${full_code%'[-]'}

# Chromium's DOM after the page's scripts ran (in virtual time, so the engine has loaded).
dump_dom() { # url output
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --virtual-time-budget=10000 --dump-dom "$1" >"$2" 2>"$work/chromium.log" || {
    tail -n 20 "$work/chromium.log" >&2
    echo "ci-browser: chromium failed on $1" >&2
    exit 1
  }
}

# The page's text as a reader sees it.
unescape() { sed -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e "s/&#39;/'/g" -e 's/&amp;/\&/g'; }
text_of() { sed -e 's/<[^>]*>/\n/g' "$1" | unescape | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' | grep -v '^$' || true; }

failures=0
fail() { echo "ci-browser: $*" >&2; failures=$((failures + 1)); }

"$cli" decode "$code" >"$work/decode.txt"
# Every sentence of `decode` on the page whose text is in $1; prints how many were checked.
check_sentences() {
  local checked=0 line sentence
  while IFS= read -r line; do
    sentence=$(printf '%s' "$line" | sed -e 's/^[[:space:]]*//' -e 's/^[-*] //' -e 's/[[:space:]]*$//')
    [ -n "$sentence" ] || continue
    case "$sentence" in "$code") continue ;; esac
    checked=$((checked + 1))
    grep -qF -- "$sentence" "$1" || fail "missing from $2: $sentence"
  done <"$work/decode.txt"
  [ "$checked" -gt 0 ] || fail "glomiecode-cli decode gave no sentences"
  echo "$checked"
}

url="${base}cgi-usr/qpx/gcp.pl?name=$(encoder_escape "$code")"
echo "ci-browser: loading $url"
dump_dom "$url" "$work/dom.html"
text_of "$work/dom.html" >"$work/page.txt"
grep -qxF -- "$code" "$work/page.txt" || fail "the decoder page does not show the code"
checked=$(check_sentences "$work/page.txt" "the decoder page")

# The link to the encoder, as the decoder page wrote it.
edit=$(grep -o '<a href="[^"]*">Edit this code</a>' "$work/dom.html" | sed -e 's/^<a href="//' -e 's/">.*//' | unescape)
if [ -z "$edit" ]; then
  fail "the decoder page has no link to the encoder"
else
  echo "ci-browser: loading ${base}${edit#/}"
  dump_dom "${base}${edit#/}" "$work/encoder.html"
  text_of "$work/encoder.html" >"$work/encoder.txt"
  share=$(grep -o '<a id="share"[^>]*>' "$work/encoder.html" | grep -o 'href="[^"]*"' | sed -e 's/^href="//' -e 's/"$//' | unescape)
  # The page's share link percent-encodes the code as JavaScript's encodeURIComponent does.
  shared=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1].split("#code=", 1)[-1]))' "$share")
  [ "$shared" = "$code" ] || fail "the encoder's share link holds '$shared', not the code"
  grep -q '<dialog id="problems"[^>]* open' "$work/encoder.html" && fail "the encoder asks about problems in a code it made"
  check_sentences "$work/encoder.txt" "the encoder's page" >/dev/null
fi

status=0
stop_server || status=$?
[ "$status" -eq 0 ] || fail "the server exited with status $status on SIGTERM"
grep -q '^GET /cgi-usr/qpx/gcp.pl 200 ' "$work/serve.log" || fail "the server logged no page"
grep -q '^GET /encoder/engine.js 200 ' "$work/serve.log" || fail "the server logged no engine for the encoder"

if [ "$failures" -ne 0 ]; then
  echo "ci-browser: $failures problem(s)" >&2
  exit 1
fi
echo "ci-browser: the decoder page in Chromium shows the code and all $checked lines of glomiecode-cli decode;"
echo "ci-browser: its link opens the encoder in the browser with the code taken whole and the same lines"
