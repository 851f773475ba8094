#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The encoder's start under Wine: time until the sheet's window is mapped, against an empty Qt
# sheet of ten tabs built with the same toolchain, Qt and flags and started the same way, from the
# same folder; 10 starts of each, interleaved, and the ratio of the medians.
# Usage: bench/windows/start-time.sh [RUNS]   (needs scripts/build-windows.sh to have run)
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
runs=${1:-10}
out=$root/build/windows-cross
[ -f "$out/dist/bin/glomiecode.exe" ] || { echo "start-time: run scripts/build-windows.sh first" >&2 && exit 1; }
qt=$(scripts/build-qt-windows.sh | tail -1)

cmake -S bench/windows/empty-sheet -B "$out/empty-sheet" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_EXE_LINKER_FLAGS= \
  -DCMAKE_FIND_ROOT_PATH="$qt" -DCMAKE_PREFIX_PATH="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
cmake --build "$out/empty-sheet"
# Both from one folder: the same DLLs, the same plugins.
bench=$out/start-bench
rm -rf "$bench" && cp -r "$out/dist" "$bench"
x86_64-w64-mingw32-strip --strip-unneeded -o "$bench/bin/empty-sheet.exe" "$out/empty-sheet/empty-sheet.exe"

unset QT_QPA_PLATFORM
export WINEPREFIX=$out/bench-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (unset DISPLAY && wine wineboot --init >/dev/null 2>&1 && wineserver -w)
fi
source scripts/x-desktop.sh
trap 'wineserver -k 2>/dev/null || true; stop_desktop' EXIT
start_desktop 1280x800 "$out"
# One Wine server for every start, so that none pays for starting it.
wineserver -p
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")
python3 bench/windows/start_time.py "$runs" "Glomie Code $version Encoder=$bench/bin/glomiecode.exe" \
  "Empty Tab Dialog=$bench/bin/empty-sheet.exe"
