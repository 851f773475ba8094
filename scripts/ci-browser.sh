#!/usr/bin/env bash
# Loads the decoder page for a full code in a real browser (headless Chromium) from
# `glomiecode-cli serve`, and checks that the page shows the code and every sentence that
# `glomiecode-cli decode` gives for it.
# Usage: scripts/ci-browser.sh [BUILD_DIR]   (default build/ci; the CLI is built there if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
tool=ci-browser

scripts/install-deps.sh chromium
. scripts/decoder-server.sh
code=$full_code

url="${base}cgi-usr/qpx/gcp.pl?name=$(encoder_escape "$code")"
echo "ci-browser: loading $url"

timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --dump-dom "$url" >"$work/dom.html" 2>"$work/chromium.log" || {
  tail -n 20 "$work/chromium.log" >&2
  echo "ci-browser: chromium failed" >&2
  exit 1
}

# The page's text as a reader sees it.
unescape() { sed -e 's/&lt;/</g' -e 's/&gt;/>/g' -e 's/&quot;/"/g' -e "s/&#39;/'/g" -e 's/&amp;/\&/g'; }
sed -e 's/<[^>]*>/\n/g' "$work/dom.html" | unescape | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' |
  grep -v '^$' >"$work/page.txt" || true

failures=0
grep -qxF -- "$code" "$work/page.txt" || { echo "ci-browser: the page does not show the code" >&2; failures=$((failures + 1)); }

"$cli" decode "$code" >"$work/decode.txt"
checked=0
while IFS= read -r line; do
  sentence=$(printf '%s' "$line" | sed -e 's/^[[:space:]]*//' -e 's/^[-*] //' -e 's/[[:space:]]*$//')
  [ -n "$sentence" ] || continue
  case "$sentence" in "$code") continue ;; esac
  checked=$((checked + 1))
  if ! grep -qF -- "$sentence" "$work/page.txt"; then
    echo "ci-browser: missing from the page: $sentence" >&2
    failures=$((failures + 1))
  fi
done <"$work/decode.txt"
[ "$checked" -gt 0 ] || { echo "ci-browser: glomiecode-cli decode gave no sentences" >&2; failures=$((failures + 1)); }

status=0
stop_server || status=$?
[ "$status" -eq 0 ] || { echo "ci-browser: the server exited with status $status on SIGTERM" >&2; failures=$((failures + 1)); }
grep -q '^GET /cgi-usr/qpx/gcp.pl 200 ' "$work/serve.log" || { echo "ci-browser: the server logged no page" >&2; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then
  echo "ci-browser: $failures problem(s)" >&2
  exit 1
fi
echo "ci-browser: the page in Chromium shows the code and all $checked lines of glomiecode-cli decode"
