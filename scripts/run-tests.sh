#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything and runs every test. Usage: scripts/run-tests.sh [preset]  (default: "default")
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j2
