#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the README's pictures again from the real programs.
#   desktop  builds our screenshot program, opens the real sheet offscreen with answers that make
#            every section of the code appear (tools/screenshot-answers.ini), and saves the ten
#            pages as docs/screenshots/<n>-<caption>.png
#   web      the real page in Debian's headless Chromium at a desktop's width and a phone's, into
#            docs/screenshots/web-desktop.png and web-phone.png; with a folder, the same pictures
#            from all three engines (Chromium, Firefox ESR, WebKitGTK) there
# Usage: scripts/screenshots.sh [desktop [BUILD_FOLDER] | web [FOLDER]]   (no argument: both)
set -euo pipefail
cd "$(dirname "$0")/.."

desktop() {
  local build=${1:-build/screenshots}
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
}

web() {
  scripts/install-deps.sh --only chromium firefox-esr webkit2gtk-driver xvfb xauth fonts-dejavu-core
  command -v node >/dev/null || scripts/install-deps.sh --only nodejs
  command -v npm >/dev/null || scripts/install-deps.sh --only npm
  (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
  scripts/build-web.sh
  if [ $# -gt 0 ]; then
    mkdir -p "$1"
    xvfb-run -a -s "-screen 0 1400x1000x24" node tests/web/screenshots.js "$(cd "$1" && pwd)"
  else
    node tests/web/screenshots.js
  fi
}

case ${1:-} in
desktop | web)
  what=$1
  shift
  "$what" "$@"
  ;;
"") desktop && web ;;
*) echo "usage: $0 [desktop [BUILD_FOLDER] | web [FOLDER]]" >&2 && exit 2 ;;
esac
