#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the README's pictures of the encoder in the browser: the real page in Debian's headless
# Chromium at a desktop's width and a phone's, into docs/screenshots/web-desktop.png and web-phone.png.
# Usage: scripts/web-screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/apt-install.sh chromium fonts-dejavu-core
command -v node >/dev/null || scripts/apt-install.sh nodejs
command -v npm >/dev/null || scripts/apt-install.sh npm
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
scripts/build-web.sh
node scripts/web-screenshots.js
