#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets (clang, the "fuzz" preset) and runs each for a bounded time: the decoder's
# two and the decoder page's request head reader.
# Usage: scripts/run-fuzz.sh [--build-only] [SECONDS]   (default 60 for each target)
# GLOMIE_FUZZ_BUILD_DIR sets the build directory (default build/fuzz); GLOMIE_JOBS the build's jobs.
# Exits non-zero when a target finds a crash, a leak, undefined behaviour, a timeout, a broken
# round trip or a head read two ways; the input that did it is left in <build dir>/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=0
if [ "${1:-}" = --build-only ]; then
  build_only=1
  shift
fi
seconds=${1:-60}
build=${GLOMIE_FUZZ_BUILD_DIR:-build/fuzz}
targets=(decoder_fuzz decoder_roundtrip_fuzz request_head_fuzz)

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "${GLOMIE_JOBS:-2}"
((build_only)) && exit 0

artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"
for target in "${targets[@]}"; do
  corpus="$build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
  dict=fuzz/decoder.dict
  [ "$target" = request_head_fuzz ] && dict=fuzz/http.dict
  echo "== $target for ${seconds}s"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -dict="$dict" -artifact_prefix="$artifacts/$target-" -print_final_stats=1 "$corpus" "${seeds[@]}"
done
