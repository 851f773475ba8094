#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The encoder in the browser, checked in Debian's headless Chromium: builds the site
# (scripts/build-web.sh) and the command line if missing, then runs the browser check
# (tests/web/check.js) and prints the page's budgets (bench/web/budgets.js).
# Usage: scripts/ci-web.sh [BUILD_DIR]   (where glomiecode-cli is or is built; default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
start=$SECONDS

scripts/apt-install.sh chromium fonts-dejavu-core
# Node and npm from Debian unless this machine has them already (from elsewhere, with npm inside).
command -v node >/dev/null || scripts/apt-install.sh nodejs
command -v npm >/dev/null || scripts/apt-install.sh npm
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

scripts/build-web.sh
cli="$build/src/cli/glomiecode-cli"
if [ ! -x "$cli" ]; then
  scripts/install-deps.sh
  case "$build" in
  build/default | build/ci) cmake --preset "${build#build/}" >/dev/null ;;
  *) cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ;;
  esac
  cmake --build "$build" --target glomiecode-cli
fi

case "$cli" in /*) ;; *) cli="$PWD/$cli" ;; esac
export GLOMIE_CLI="$cli"
node tests/web/check.js
node bench/web/budgets.js
echo "ci-web: done in $((SECONDS - start)) s"
