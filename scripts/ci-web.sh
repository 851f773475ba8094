#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The encoder in the browser. First its engine, compiled to WebAssembly, is held against the native
# engine under Node: the worked examples, random answer sets code for code with the questions each
# page leaves open, and random user actions. Then the page is checked in the three browser engines
# with one table of checks: Debian's
# headless Chromium and Firefox ESR (puppeteer-core, over CDP and WebDriver BiDi) and WebKitGTK
# (WebKitWebDriver and selenium-webdriver, under Xvfb). Builds the site (scripts/build-web.sh) and
# the command line if missing, runs the browser check (tests/web/check.js) and prints the page's
# budgets beside a plain page's (bench/web/budgets.js).
# Usage: scripts/ci-web.sh [BUILD_DIR]   (where glomiecode-cli is or is built; default build/default)
# GLOMIE_WEB_ENGINES (default "chromium firefox webkit") chooses the engines.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
start=$SECONDS

scripts/install-deps.sh --only chromium firefox-esr webkit2gtk-driver xvfb xauth fonts-dejavu-core
# Node and npm from Debian unless this machine has them already (from elsewhere, with npm inside).
command -v node >/dev/null || scripts/install-deps.sh --only nodejs
command -v npm >/dev/null || scripts/install-deps.sh --only npm
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)

scripts/build-web.sh
cli="$build/src/cli/glomiecode-cli"
if [ ! -x "$cli" ]; then
  scripts/install-deps.sh
  case "$build" in
  build/default | build/ci) cmake --preset "${build#build/}" >/dev/null ;;
  *) cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ;;
  esac
fi
cmake --build "$build" --target glomiecode-cli glomie-engine-oracle

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tests/wasm/glomie-engine-oracle" 300 >"$work/oracle.json"
node tests/wasm/engine-check.js build/web/engine.js "$work/oracle.json"
echo "ci-web: the WebAssembly engine agrees with the native one ($((SECONDS - start)) s)"

case "$cli" in /*) ;; *) cli="$PWD/$cli" ;; esac
export GLOMIE_CLI="$cli"
read -r -a engines <<<"${GLOMIE_WEB_ENGINES:-chromium firefox webkit}"
# WebKit draws into an X server of its own; the others run headless in it too.
xvfb-run -a -s "-screen 0 1400x1000x24 -noreset" node tests/web/check.js "${engines[@]}"
node bench/web/budgets.js
echo "ci-web: done in $((SECONDS - start)) s"
