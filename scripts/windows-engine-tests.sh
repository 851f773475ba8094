#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the engine (vocabulary, code, settings, rules, decoder, address, text) and its GoogleTest suite as 64-bit
# Windows programs with MinGW-w64, runs them under Wine, and checks that they ran and passed the very
# tests the native suite runs.
#
# Usage: scripts/windows-engine-tests.sh [--bench] [NATIVE_BUILD_DIR]
#   NATIVE_BUILD_DIR  a native build of the project whose engine_tests to compare with (CI passes
#                     build/ci); without it, an engine-only native build is made here
#   --bench           also cross-build Google Benchmark (from Debian's source package) and run the
#                     engine benchmarks natively and under Wine, for comparison
# Everything is built in build/windows-engine; the Wine prefix lives there too.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bench=0
native_dir=
for argument in "$@"; do
  case $argument in
  --bench) bench=1 ;;
  -*) echo "usage: $0 [--bench] [NATIVE_BUILD_DIR]" >&2 && exit 2 ;;
  *) native_dir=$(realpath "$argument") ;;
  esac
done

out=$root/build/windows-engine
mkdir -p "$out"
start=$SECONDS
say() { echo "windows-engine-tests: $* ($((SECONDS - start)) s)"; }

packages=(cmake ninja-build g++ file libgtest-dev googletest g++-mingw-w64-x86-64-posix wine wine64)
((bench)) && packages+=(libbenchmark-dev dpkg-dev)
scripts/install-deps.sh --only "${packages[@]}"
say "installed"

# Wine without a display, without its own debug chatter, and without offering to download Mono or
# Gecko, which console programs never need.
export WINEPREFIX=$out/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot --init >"$out/wineboot.log" 2>&1
  wineserver -w
  say "made the Wine prefix"
fi

toolchain=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo)
prefix=$out/prefix

# GoogleTest, from Debian's sources, built once.
if [ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$out/googletest" "${toolchain[@]}" -DBUILD_GMOCK=OFF \
    -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$out/googletest"
  cmake --install "$out/googletest" >/dev/null
  say "built GoogleTest for Windows"
fi

# Google Benchmark has no source in Debian's binary packages: take the source package of the
# version installed natively, through a private apt configuration, so the machine's sources stay
# as they are.
if ((bench)) && [ ! -f "$prefix/lib/cmake/benchmark/benchmarkConfig.cmake" ]; then
  apt_dir=$out/apt
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/source"
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/*.sources >"$apt_dir/debian-src.sources"
  apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt_dir"
    -o Dir::State::Lists="$apt_dir/lists")
  apt-get "${apt_options[@]}" update -qq
  version=$(dpkg-query -W -f='${source:Version}' libbenchmark-dev)
  (cd "$apt_dir/source" && apt-get "${apt_options[@]}" source -qq "benchmark=$version")
  cmake -S "$(find "$apt_dir/source" -mindepth 1 -maxdepth 1 -type d -name 'benchmark-*')" \
    -B "$out/benchmark" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release -DBENCHMARK_ENABLE_TESTING=OFF \
    -DBENCHMARK_ENABLE_WERROR=OFF -DGIT_VERSION="${version%%-*}" -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$out/benchmark"
  cmake --install "$out/benchmark" >/dev/null
  say "built Google Benchmark for Windows"
fi

# The engine alone, with warnings as errors; its tests are listed when ctest runs, not at build time.
engine_only=(-DGLOMIE_BUILD_QT=OFF -DGLOMIE_WERROR=ON -DGLOMIE_BUILD_BENCH=$((bench ? 1 : 0))
  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST)
targets=(engine_tests)
((bench)) && targets+=(engine_bench)
cmake -S . -B "$out/mingw" "${toolchain[@]}" "${engine_only[@]}" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$out/mingw" --target "${targets[@]}"
file "$out/mingw/tests/engine_tests.exe" | grep -q 'PE32+ executable.*x86-64' ||
  { echo "windows-engine-tests: engine_tests.exe is not a 64-bit Windows program" >&2 && exit 1; }
say "built the engine for Windows"

if [ -z "$native_dir" ]; then
  native_dir=$out/native
  cmake -S . -B "$native_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${engine_only[@]}" >/dev/null
fi
cmake --build "$native_dir" --target "${targets[@]}"
say "built the engine natively"

# Runs one suite; prints the names of the tests that passed, one a line, into $2.
passed_tests() { # passed_tests LOG PASSED_LIST COMMAND...
  local log=$1 list=$2 status=0
  shift 2
  "$@" --gtest_color=no >"$log" 2>&1 || status=$?
  tr -d '\r' <"$log" | sed -n 's/^\[       OK \] \([^ ]*\).*/\1/p' | sort >"$list"
  if [ "$status" -ne 0 ]; then
    tr -d '\r' <"$log" | grep -E '^\[  FAILED  \]|Failure' >&2 || tail -20 "$log" >&2
    echo "windows-engine-tests: $* exited with $status" >&2
    return 1
  fi
}
failed=0
passed_tests "$out/native.log" "$out/native.passed" "$native_dir/tests/engine_tests" || failed=1
say "ran the native suite"
passed_tests "$out/wine.log" "$out/wine.passed" wine "$out/mingw/tests/engine_tests.exe" || failed=1
say "ran the suite under Wine"

native_count=$(wc -l <"$out/native.passed")
wine_count=$(wc -l <"$out/wine.passed")
echo "windows-engine-tests: native: $native_count tests passed; Windows under Wine: $wine_count tests passed"
if ! diff -u "$out/native.passed" "$out/wine.passed" >"$out/passed.diff"; then
  echo "windows-engine-tests: the two runs passed different tests:" >&2
  cat "$out/passed.diff" >&2
  failed=1
fi
if [ "$native_count" -eq 0 ]; then
  echo "windows-engine-tests: no test ran" >&2
  failed=1
fi

if ((bench)); then
  bench_args=(--benchmark_filter='BM_(RebuildEverySection|RebuildOneSectionAndJoin/0|DecodeEverySection)$'
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_min_time=0.5)
  echo "== native"
  "$native_dir/bench/engine_bench" "${bench_args[@]}"
  echo "== Windows under Wine"
  wine "$out/mingw/bench/engine_bench.exe" "${bench_args[@]}" | tr -d '\r'
fi

wineserver -w
say "done"
echo "windows-engine-tests: $wine_count passed, $(comm -23 "$out/native.passed" "$out/wine.passed" | wc -l) failed"
exit "$failed"
