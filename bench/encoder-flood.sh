#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Measures how the encoder keeps up while 1,030 connections hold its own decoder page's port, with
# the encoder allowed 1,024 open files, against a run without the flood: how late its event loop
# comes to a 20 ms timer, how long a slider step takes to reach the code box, its CPU, and what a
# new client of the page waits. Prints the figures; a measure, not a test (about 45 s).
# Usage: bench/encoder-flood.sh [BUILD_DIR] [CONNECTIONS]   (default build/default, 1030)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
connections=${2:-1030}
harness=$build/bench/gui/encoder_flood

scripts/install-deps.sh python3
[ -x "$harness" ] || cmake --build "$build" --target encoder_flood
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

measure() { # measure CONNECTIONS
  (ulimit -Sn 1024 && exec "$harness" 22 3) >"$work/out" 2>"$work/err" &
  pid=$!
  local port=
  for _ in $(seq 100); do
    port=$(sed -n 's/^port //p' "$work/out")
    [ -n "$port" ] && break
    sleep 0.1
  done
  [ -n "$port" ] || { cat "$work/err" >&2; echo "encoder-flood: the encoder's page did not start" >&2; exit 1; }
  if [ "$1" -gt 0 ]; then
    # The page is under the run's secret path; the flood, like any other program, does not know it.
    python3 tests/service/flood.py --port "$port" --path "/$(sed -n 's/^host [^/]*\///p' "$work/out")/" \
      --connections "$1" --probe-after 11 --probes 10
  fi
  wait "$pid"
  pid=
  grep '^encoder:' "$work/out"
}

echo "== the encoder without a flood"
measure 0
echo "== the encoder with $connections connections held on its decoder page's port"
measure "$connections"
