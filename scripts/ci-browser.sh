#!/usr/bin/env bash
# Loads the decoder page for a full code in a real browser (headless Chromium) from
# `glomiecode-cli serve`, and checks that the page shows the code and every sentence that
# `glomiecode-cli decode` gives for it.
# Usage: scripts/ci-browser.sh [BUILD_DIR]   (default build/ci; the CLI is built there if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
cli="$build/src/cli/glomiecode-cli"

scripts/install-deps.sh chromium
if [ ! -x "$cli" ]; then
  cmake --preset ci >/dev/null
  cmake --build "$build" --target glomiecode-cli
fi

# Every section, a "+" run, a bare "%" and characters that need care in a URL.
code='GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|-[-]'

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
  kill -0 "$server" 2>/dev/null || { cat "$work/serve.log" >&2; echo "ci-browser: the server did not start" >&2; exit 1; }
  sleep 0.1
done
base=$(grep -o 'http://[^ ]*' "$work/serve.out" | head -n1)
[ -n "$base" ] || { echo "ci-browser: the server printed no address" >&2; exit 1; }

# The address as the encoder writes it: blanks as %20, "+" as %2B, all else as it is.
escaped=$(printf '%s' "$code" | sed -e 's/ /%20/g' -e 's/+/%2B/g')
url="${base%/}/cgi-usr/qpx/gcp.pl?name=$escaped"
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

kill -TERM "$server"
status=0
wait "$server" || status=$?
server=
[ "$status" -eq 0 ] || { echo "ci-browser: the server exited with status $status on SIGTERM" >&2; failures=$((failures + 1)); }
grep -q '^GET /cgi-usr/qpx/gcp.pl 200 ' "$work/serve.log" || { echo "ci-browser: the server logged no page" >&2; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then
  echo "ci-browser: $failures problem(s)" >&2
  exit 1
fi
echo "ci-browser: the page in Chromium shows the code and all $checked lines of glomiecode-cli decode"
