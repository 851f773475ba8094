#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the encoder in the browser into build/web/ (index.html at its root): the engine compiled to
# WebAssembly with Debian's Emscripten, and the page's own files. Open build/web/index.html, or copy
# the folder to any static web host.
# Usage: scripts/build-web.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --only emscripten node-acorn nodejs cmake ninja-build
# Debian's Emscripten finds its JavaScript optimiser's parser there.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build/web-engine -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DGLOMIE_BUILD_QT=OFF \
  -DGLOMIE_BUILD_TESTS=OFF -DGLOMIE_BUILD_BENCH=OFF -DGLOMIE_WEB_OUTPUT="$PWD/build/web" >/dev/null
cmake --build build/web-engine
echo "build-web: the site is in build/web ($(du -sb build/web | cut -f1) bytes)"
