#!/usr/bin/env bash
# Builds the decoder's fuzz targets (clang, the "fuzz" preset) and runs each for a bounded time.
# Usage: scripts/run-fuzz.sh [SECONDS]   (default 60 for each target)
# GLOMIE_FUZZ_BUILD_DIR sets the build directory (default build/fuzz); GLOMIE_JOBS the build's jobs.
# Exits non-zero when a target finds a crash, a leak, undefined behaviour, a timeout or a broken
# round trip; the input that did it is left in <build dir>/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${GLOMIE_FUZZ_BUILD_DIR:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" --target decoder_fuzz decoder_roundtrip_fuzz -j "${GLOMIE_JOBS:-2}"

artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"
for target in decoder_fuzz decoder_roundtrip_fuzz; do
  corpus="$build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$target" ] && seeds=("fuzz/corpus/$target")
  echo "== $target for ${seconds}s"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -dict=fuzz/decoder.dict -artifact_prefix="$artifacts/$target-" -print_final_stats=1 "$corpus" "${seeds[@]}"
done
