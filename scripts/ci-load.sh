#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Load on the decoder page over loopback: wrk with 2 threads and 16 connections for 10 seconds
# against `glomiecode-cli serve` for a full code. Requires at least 5,000 requests per second and
# no error responses, and prints the figures.
# Usage: scripts/ci-load.sh [BUILD_DIR]   (default build/ci; the CLI is built there if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
tool=ci-load
min_rate=5000

scripts/install-deps.sh wrk
. scripts/decoder-server.sh

# wrk takes only a URL it can parse: the characters a URL cannot carry go escaped as well.
escaped=$(encoder_escape "$full_code" | sed -e 's/%\([^0-9A-F]\|$\)/%25\1/g' -e 's/|/%7C/g' -e 's/</%3C/g' -e 's/>/%3E/g')
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

status=0
stop_server || status=$?

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
