#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds and starts the encoder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/src/app/glomiecode "$@"
