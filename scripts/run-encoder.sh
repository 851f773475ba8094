#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the encoder, and only what it needs (not the tests or the benchmarks), and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target glomiecode
exec build/default/src/app/glomiecode "$@"
