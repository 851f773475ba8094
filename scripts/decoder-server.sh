# SPDX-License-Identifier: MIT
# Sourced by the CI scripts that test `glomiecode-cli serve`: builds the command line if it is
# missing, starts the server on a free loopback port ($base is its address, $work a scratch
# folder), and stops it and removes $work on exit. Expects $build (the build directory) and $tool
# (the calling script's name, for messages); $serve_options, if set, are added to `serve`; $site,
# if set, is a scratch folder removed with $work.

cli="$build/src/cli/glomiecode-cli"
if [ ! -x "$cli" ]; then
  cmake --preset ci >/dev/null
  cmake --build "$build" --target glomiecode-cli
fi

# Every section, "+" runs, a bare "%" and characters that need care in a URL.
full_code='GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|-[-]'

# The code as the encoder puts it in the decoder address: blanks as %20, "+" as %2B, all else kept.
encoder_escape() { printf '%s' "$1" | sed -e 's/ /%20/g' -e 's/+/%2B/g'; }

work=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
    kill -TERM "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work" ${site:+"$site"}
}
trap cleanup EXIT

# Stops the server with SIGTERM; the status is the server's exit status.
stop_server() {
  local status=0
  kill -TERM "$server"
  wait "$server" || status=$?
  server=
  return "$status"
}

"$cli" serve --port 0 ${serve_options[@]+"${serve_options[@]}"} >"$work/serve.out" 2>"$work/serve.log" &
server=$!
for _ in $(seq 100); do
  grep -q 'http://' "$work/serve.out" 2>/dev/null && break
  if ! kill -0 "$server" 2>/dev/null; then
    cat "$work/serve.log" >&2
    echo "$tool: the server did not start" >&2
    exit 1
  fi
  sleep 0.1
done
base=$(grep -o 'http://127\.0\.0\.1:[0-9]*/' "$work/serve.out" | head -n1)
[ -n "$base" ] || { echo "$tool: the server is not listening on 127.0.0.1" >&2; exit 1; }
