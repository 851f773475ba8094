#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The engine compiled to WebAssembly, held against the native engine under Node: the worked examples,
# random answer sets code for code with the questions each page leaves open, and random user actions.
# Usage: scripts/ci-wasm.sh [BUILD_DIR]   (default build/ci; the native oracle is built there)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
scripts/build-web.sh
[ -d "$build" ] || cmake --preset "$(basename "$build")" >/dev/null
cmake --build "$build" --target glomie-engine-oracle
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tests/wasm/glomie-engine-oracle" 300 >"$work/oracle.json"
node tests/wasm/engine-check.js build/web/engine.js "$work/oracle.json"
