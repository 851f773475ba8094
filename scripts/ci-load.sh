#!/usr/bin/env bash
# Load on the decoder page over loopback: wrk with 2 threads and 16 connections for 10 seconds
# against `glomiecode-cli serve` for a full code. Requires at least 5,000 requests per second and
# no error responses, and prints the figures.
# Usage: scripts/ci-load.sh [BUILD_DIR]   (default build/ci; the CLI is built there if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
cli="$build/src/cli/glomiecode-cli"
min_rate=5000

scripts/install-deps.sh wrk
if [ ! -x "$cli" ]; then
  cmake --preset ci >/dev/null
  cmake --build "$build" --target glomiecode-cli
fi

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

"$cli" serve --port 0 >"$work/serve.out" 2>"$work/serve.log" &
server=$!
for _ in $(seq 100); do
  grep -q 'http://' "$work/serve.out" 2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { cat "$work/serve.log" >&2; echo "ci-load: the server did not start" >&2; exit 1; }
  sleep 0.1
done
base=$(grep -o 'http://127\.0\.0\.1:[0-9]*/' "$work/serve.out" | head -n1)
[ -n "$base" ] || { echo "ci-load: the server is not on 127.0.0.1" >&2; exit 1; }

code='GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|-[-]'
escaped=$(printf '%s' "$code" | sed -e 's/ /%20/g' -e 's/+/%2B/g' -e 's/%\([^0-9A-F]\|$\)/%25\1/g' -e 's/|/%7C/g' -e 's/</%3C/g' -e 's/>/%3E/g')
url="${base}cgi-usr/qpx/gcp.pl?name=$escaped"

# One request first: the page must be there before it is measured.
port=${base##*:}
port=${port%/}
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /%s HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n' "${url#"$base"}" >&3
first=$(head -n1 <&3 | tr -d '\r')
exec 3<&-
case "$first" in *" 200 "*) ;; *) echo "ci-load: the page answered '$first'" >&2; exit 1 ;; esac

timeout 60 wrk -t2 -c16 -d10s --latency "$url" | tee "$work/wrk.txt"

rate=$(awk '/^Requests\/sec:/ {print $2}' "$work/wrk.txt")
requests=$(awk '/requests in/ {print $1}' "$work/wrk.txt")
non2xx=$(awk -F': *' '/Non-2xx or 3xx responses/ {print $2}' "$work/wrk.txt")
non2xx=${non2xx:-0}
socket_errors=$(sed -n 's/.*Socket errors: \(.*\)/\1/p' "$work/wrk.txt")
served=$(grep -c '^GET /cgi-usr/qpx/gcp.pl 200 ' "$work/serve.log" || true)

kill -TERM "$server"
status=0
wait "$server" || status=$?
server=

echo "ci-load: ${rate:-?} requests/s, ${requests:-?} requests, non-2xx ${non2xx}, socket errors: ${socket_errors:-none}, pages logged by the server: ${served}"
failures=0
if [ -z "$rate" ] || ! awk -v r="$rate" -v m="$min_rate" 'BEGIN { exit !(r >= m) }'; then
  echo "ci-load: below $min_rate requests per second" >&2
  failures=$((failures + 1))
fi
[ "$non2xx" -eq 0 ] || { echo "ci-load: $non2xx error responses" >&2; failures=$((failures + 1)); }
[ -z "$socket_errors" ] || { echo "ci-load: socket errors: $socket_errors" >&2; failures=$((failures + 1)); }
[ "$status" -eq 0 ] || { echo "ci-load: the server exited with status $status on SIGTERM" >&2; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] || exit 1
echo "ci-load: passed"
