#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a full-code decoder page costs, against two baselines on loopback: nginx (Debian's
# nginx-light, one worker) serving the very same page as a static file, and Qt HttpServer's
# hello-world. wrk -t2 with 8 and with 64 connections, the three servers taken in turn in each of
# three rounds, 5 s each; for each, requests per second and the server's CPU per request (from
# /proc). serve keeps the last pages it made, so the page asked for again and again is made once:
# the decoder page is also measured with a new code (another age) in every request, each made anew.
# Then the command line in bulk: 10,000 codes through `decode --each-line` (text and JSON),
# and 1,000 settings files through one `code --settings`. Prints the figures and the medians'
# ratios; a measure, not a test (about three minutes).
# Usage: bench/page-vs-nginx.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

scripts/install-deps.sh --only wrk nginx-light python3 qt6-httpserver-dev qt6-websockets-dev
[ -f "$build/CMakeCache.txt" ] || cmake --preset default >/dev/null
cmake "$build" >/dev/null # finds Qt HttpServer if it was installed just now
cmake --build "$build" --target glomiecode-cli hello_httpserver
cli=$build/src/cli/glomiecode-cli
hello=$build/bench/service/hello_httpserver

work=$(mktemp -d)
chmod 755 "$work" # nginx's worker may run as another user
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Every section, "+" runs, a bare "%" (as scripts/ci-service.sh asks for it).
code='GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|-[-]'
query="name=$(printf '%s' "$code" | sed -e 's/%/%25/g' -e 's/ /%20/g' -e 's/+/%2B/g' -e 's/|/%7C/g' -e 's/</%3C/g' -e 's/>/%3E/g')"

"$cli" serve --port 0 >"$work/serve.out" 2>/dev/null &
serve=$!
pids+=("$serve")
"$hello" >"$work/hello.out" &
hello_pid=$!
pids+=("$hello_pid")
for _ in $(seq 100); do
  grep -q 'http://' "$work/serve.out" && grep -q '^port ' "$work/hello.out" && break
  sleep 0.1
done
serve_port=$(grep -o '127\.0\.0\.1:[0-9]*' "$work/serve.out" | head -n1 | cut -d: -f2)
hello_port=$(sed -n 's/^port //p' "$work/hello.out")

# The page served, as a static file for nginx.
mkdir -p "$work/html"
python3 - "$serve_port" "$query" "$work/html/page.html" <<'PY'
import sys, urllib.request
port, query, path = sys.argv[1:]
with urllib.request.urlopen(f"http://127.0.0.1:{port}/cgi-usr/qpx/gcp.pl?{query}") as answer:
    open(path, "wb").write(answer.read())
PY
chmod 644 "$work/html/page.html"
nginx_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
  access_log $work/access.log; # serve logs every request too
  types { text/html html; }
  server { listen 127.0.0.1:$nginx_port; root $work/html; }
}
CONF
# A new code for every request: the age in the code counts up, from a start of each wrk thread's own.
cat >"$work/new-codes.lua" <<'LUA'
local threads = 0
function setup(thread)
  threads = threads + 1
  thread:set("first", threads * 100000000)
end
function init(args)
  count = first
end
function request()
  count = count + 1
  return wrk.format(nil, (wrk.path:gsub("P:a23", "P:a" .. count)))
end
LUA
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
pids+=("$nginx_pid")
sleep 1

python3 - "$work" <<PY
import os, re, statistics, subprocess, sys

work = sys.argv[1]
clock = os.sysconf("SC_CLK_TCK")
page_url = "http://127.0.0.1:$serve_port/cgi-usr/qpx/gcp.pl?$query"
targets = {
    "decoder page": (page_url, [$serve], []),
    "nginx, the same page": ("http://127.0.0.1:$nginx_port/page.html", [$nginx_pid], []),
    "Qt HttpServer hello-world": ("http://127.0.0.1:$hello_port/", [$hello_pid], []),
    "decoder page, new codes": (page_url, [$serve], ["-s", f"{work}/new-codes.lua"]),
}

def family(pids):
    """The servers' processes and their children (nginx's worker)."""
    found = list(pids)
    for pid in pids:
        try:
            found += [int(p) for p in open(f"/proc/{pid}/task/{pid}/children").read().split()]
        except OSError:
            pass
    return found

def cpu(pids):
    total = 0
    for pid in family(pids):
        fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
        total += int(fields[11]) + int(fields[12])
    return total / clock

results = {}
for round_ in range(1, 4):
    for connections in (8, 64):
        for name, (url, pids, options) in targets.items():
            before = cpu(pids)
            out = subprocess.run(["wrk", "-t2", f"-c{connections}", "-d5s", *options, url], capture_output=True,
                                 text=True, timeout=60).stdout
            used = cpu(pids) - before
            rate = float(re.search(r"Requests/sec:\s+([\d.]+)", out).group(1))
            requests = int(re.search(r"(\d+) requests in", out).group(1))
            errors = re.search(r"Non-2xx or 3xx responses: (\d+)", out)
            per_request = used / max(requests, 1) * 1e6
            results.setdefault((name, connections), []).append((rate, per_request))
            print(f"round {round_}, -c{connections:<2}  {name:<26} {rate:9.0f} requests/s"
                  f"  {per_request:6.1f} µs CPU a request" + (f"  {errors.group(1)} errors" if errors else ""))

print()
for connections in (8, 64):
    median = {name: (statistics.median(r for r, _ in results[(name, connections)]),
                     statistics.median(c for _, c in results[(name, connections)])) for name in targets}
    page, nginx, hello, new = (median[name] for name in targets)
    print(f"-c{connections}: decoder page {page[0]:.0f} requests/s = {page[0] / nginx[0]:.2f}x nginx"
          f" ({nginx[0]:.0f}); {page[1]:.1f} µs CPU a request = {page[1] / hello[1]:.2f}x the hello-world"
          f" ({hello[1]:.1f} µs; nginx {nginx[1]:.1f} µs)")
    print(f"       new codes {new[0]:.0f} requests/s = {new[0] / nginx[0]:.2f}x nginx;"
          f" {new[1]:.1f} µs CPU a request = {new[1] / hello[1]:.2f}x the hello-world")
PY

# The command line in bulk.
python3 - "$code" "$work" <<'PY'
import sys
code, work = sys.argv[1:]
with open(f"{work}/codes.txt", "w") as out:
    out.writelines(code + "\n" for _ in range(10000))
PY
seconds() { # seconds COMMAND...: wall time of a command, its output dropped
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || true
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}
echo
echo "decode --each-line, 10,000 codes: $(seconds sh -c "'$cli' decode --each-line <'$work/codes.txt'") s"
echo "decode --each-line --json, 10,000 codes: $(seconds sh -c "'$cli' decode --each-line --json <'$work/codes.txt'") s"
mkdir -p "$work/files"
# A code whose answers can all be stored.
stored='GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:v4G<:aLu++:pSS<+[+] D:vBe>---:aCh[-] X:***[*]:aClr++|ClS[SS]s++++|[R]d+:m18r|2s O:d--:!s++:?o:a?:h-[-]:x+ P:a23:s1011:w150:f-:eBBrL|Gg[z]:hBrD++m[b]:t--[+]:cWhAs:bAB+:*Ar:y+P:r+|-'
"$cli" import --settings "$work/files/0.ini" "$stored" >/dev/null
for i in $(seq 1 999); do cp "$work/files/0.ini" "$work/files/$i.ini"; done
echo "code --settings, 1,000 files: $(seconds "$cli" code --settings "$work"/files/*.ini) s"
