#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# How much later than an empty Qt dialog with ten tabs the encoder's sheet is on the screen: each
# started ten times, one after the other in turn, under a bare X server (Xvfb), each timed from its
# start to the mapping of its window (bench/gui/MapWatch.cpp). Prints the medians and their ratios.
# The encoder starts as a person starts it (splash included), with settings of its own, twice in
# each turn: as the very first time, with no settings, and as every later time, with the answers and
# the place that a start closed with OK kept (that start is made first, and closed with xdotool).
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
title="Glomie Code 1.12.05 Encoder"
encoder=(timeout 60 "$build/src/app/glomiecode")
empty=(timeout 60 "$build/bench/gui/empty_tab_dialog")
settings="$XDG_CONFIG_HOME/kvrq/glomiecode.conf"

# What a start closed with OK keeps, for the later starts (without the splash, which would take the
# key). It also brings the libraries into the page cache, as one start of the empty dialog does.
"${encoder[@]}" -Embedding 2>/dev/null &
first=$!
sheet=$(xdotool search --sync --onlyvisible --name "^$title\$" | head -n1)
sleep 0.5
xdotool windowfocus "$sheet"
sleep 0.2
# Typed, not sent to the window: the sheet may be gone before a key sent to it is released.
xdotool key Return
wait "$first"
grep -q '^\[Window\]' "$settings" || { echo "start-up: the first start kept no place in $settings" >&2; exit 1; }
cp "$settings" "$work/kept.conf"
"$watch" "Empty Tab Dialog" "${empty[@]}" >/dev/null

: >"$work/empty" && : >"$work/first" && : >"$work/later"
for run in $(seq "$runs"); do
  "$watch" "Empty Tab Dialog" "${empty[@]}" >>"$work/empty"
  rm -f "$settings"
  "$watch" "$title" "${encoder[@]}" >>"$work/first"
  cp "$work/kept.conf" "$settings"
  "$watch" "$title" "${encoder[@]}" >>"$work/later"
  echo "run $run: empty $(tail -n1 "$work/empty") ms, encoder first $(tail -n1 "$work/first") ms," \
    "later $(tail -n1 "$work/later") ms"
done
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
empty_median=$(median "$work/empty")
echo "median of $runs starts: empty ten-tab dialog $empty_median ms"
for start in first later; do
  # Also the median of each turn's own ratio: a machine whose speed drifts from turn to turn moves
  # both starts of a turn alike.
  paste "$work/$start" "$work/empty" | awk '{ print $1 / $2 }' >"$work/$start.ratios"
  awk -v e="$empty_median" -v g="$(median "$work/$start")" -v start="$start" -v turns="$(median "$work/$start.ratios")" \
    'BEGIN { printf "encoder, %s start: %s ms, ratio %.2f (goal: at most 1.25); the turns'"'"' ratios: median %.2f\n", start, g, g / e, turns }'
done
