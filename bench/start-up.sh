#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How much later than an empty Qt dialog with ten tabs the encoder's sheet is on the screen: both
# started ten times, one after the other in turn, under a bare X server (Xvfb), each timed from its
# start to the mapping of its window (bench/gui/MapWatch.cpp). Prints the medians and their ratio.
# The encoder starts as a person starts it (splash included), with settings of its own.
# Usage: bench/start-up.sh [BUILD_DIR] [RUNS]   (default build/default, 10)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
runs=${2:-10}

if [ ! -d "$build" ]; then
  cmake --preset default >/dev/null
fi
cmake --build "$build" --target glomiecode empty_tab_dialog map_watch >/dev/null

work=$(mktemp -d)
numbers="$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$numbers" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$numbers" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$numbers")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

watch="$build/bench/gui/map_watch"
encoder=(timeout 60 "$build/src/app/glomiecode")
empty=(timeout 60 "$build/bench/gui/empty_tab_dialog")
# One start of each first, unmeasured, so that both find their libraries in the page cache.
"$watch" "Empty Tab Dialog" "${empty[@]}" >/dev/null
"$watch" "Glomie Code 1.12.05 Encoder" "${encoder[@]}" >/dev/null
: >"$work/empty" && : >"$work/encoder"
for run in $(seq "$runs"); do
  "$watch" "Empty Tab Dialog" "${empty[@]}" >>"$work/empty"
  "$watch" "Glomie Code 1.12.05 Encoder" "${encoder[@]}" >>"$work/encoder"
  echo "run $run: empty $(tail -n1 "$work/empty") ms, encoder $(tail -n1 "$work/encoder") ms"
done
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
empty_median=$(median "$work/empty")
encoder_median=$(median "$work/encoder")
echo "median of $runs starts: empty ten-tab dialog $empty_median ms, encoder $encoder_median ms"
awk -v e="$empty_median" -v g="$encoder_median" 'BEGIN { printf "ratio: %.2f (goal: at most 1.25)\n", g / e }'
