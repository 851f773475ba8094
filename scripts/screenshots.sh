#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the README's pictures: builds our screenshot program, opens the real sheet offscreen with
# answers that make every section of the code appear (tools/screenshot-answers.ini), and saves the
# ten pages as docs/screenshots/<n>-<caption>.png.
# Usage: scripts/screenshots.sh [build folder]  (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/screenshots}

scripts/install-deps.sh
if [ -f "$build/CMakeCache.txt" ]; then
  cmake "$build" >/dev/null # an existing build keeps its own options
else
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLOMIE_BUILD_TESTS=OFF \
    -DGLOMIE_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target glomie-screenshots
rm -f docs/screenshots/[0-9][0-9]-*.png # the pages; the browser's pictures are web-*.png
# The same look on every machine: the offscreen screen, Qt's own style, a fixed resolution.
QT_QPA_PLATFORM=offscreen QT_FONT_DPI=96 QT_SCALE_FACTOR=1 \
  "$build/tools/glomie-screenshots" tools/screenshot-answers.ini docs/screenshots
