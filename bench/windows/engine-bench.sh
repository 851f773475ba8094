#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The engine's benchmarks natively and as a Windows program under Wine, side by side: rebuilding
# every section of a code, one section and the join, and decoding every section.
# Usage: bench/windows/engine-bench.sh [NATIVE_BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/../.."
native=${1:-build/default}
out=$PWD/build/windows-cross

scripts/install-deps.sh --only wine wine64 libbenchmark-dev
[ -f "$native/CMakeCache.txt" ] || cmake --preset default >/dev/null
cmake --build "$native" --target engine_bench glomie-render-icon
scripts/build-windows.sh --bench "$native"

export WINEPREFIX=$out/bench-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$(winepath -w "$out/dist/bin" 2>/dev/null)"
unset DISPLAY WAYLAND_DISPLAY
arguments=(--benchmark_filter='BM_(RebuildEverySection|RebuildOneSectionAndJoin/0|DecodeEverySection)$'
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_min_time=0.5)
echo "== native"
"$native/bench/engine_bench" "${arguments[@]}"
echo "== Windows under Wine"
wine "$out/build/bench/engine_bench.exe" "${arguments[@]}" | tr -d '\r'
wineserver -w
