#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the README's pictures of the encoder in the browser: the real page in Debian's headless
# Chromium at a desktop's width and a phone's, into docs/screenshots/web-desktop.png and web-phone.png.
# With a folder, the same pictures from all three engines (Chromium, Firefox ESR, WebKitGTK) there.
# Usage: scripts/web-screenshots.sh [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/apt-install.sh chromium firefox-esr webkit2gtk-driver xvfb xauth fonts-dejavu-core
command -v node >/dev/null || scripts/apt-install.sh nodejs
command -v npm >/dev/null || scripts/apt-install.sh npm
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
scripts/build-web.sh
if [ $# -gt 0 ]; then
  mkdir -p "$1"
  xvfb-run -a -s "-screen 0 1400x1000x24" node scripts/web-screenshots.js "$(cd "$1" && pwd)"
else
  node scripts/web-screenshots.js
fi
