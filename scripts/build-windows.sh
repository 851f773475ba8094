#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The encoder and the command line for 64-bit Windows, cross-built with MinGW-w64 against Qt's base
# module for Windows (scripts/build-qt-windows.sh), laid out ready to copy to a Windows machine,
# zipped, and wrapped in an NSIS setup program:
#   build/windows-cross/dist/                                  bin\ (programs, DLLs, plugins), Help\, licence
#   build/windows-cross/glomiecode-<version>-windows-x64.zip   that folder as glomiecode-<version>\
#   build/windows-cross/glomiecode-<version>-setup.exe         installs it into Program Files
#
# Usage: scripts/build-windows.sh [--tests] [--bench] [NATIVE_BUILD_DIR]
#   NATIVE_BUILD_DIR  a native build of the project whose glomie-render-icon renders the pictures
#                     (CI passes build/ci); without it, that one tool is built natively here
#   --tests           also build the GoogleTest suites that run under Wine (scripts/ci-windows.sh):
#                     the engine's, the service's and the command line's
#   --bench           also build the engine's benchmarks (bench/windows/engine-bench.sh)
# One configure builds all of it, in build/windows-cross/build.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tests=0
bench=0
native_dir=
for argument in "$@"; do
  case $argument in
  --tests) tests=1 ;;
  --bench) bench=1 ;;
  -*) echo "usage: $0 [--tests] [--bench] [NATIVE_BUILD_DIR]" >&2 && exit 2 ;;
  *) native_dir=$(realpath "$argument") ;;
  esac
done

out=$root/build/windows-cross
mkdir -p "$out"
start=$SECONDS
say() { echo "build-windows: $* ($((SECONDS - start)) s)"; }
fail() { echo "build-windows: $*" >&2 && exit 1; }

packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qt6-base-dev qt6-svg-dev
  nsis zip file)
((tests)) && packages+=(googletest)
((bench)) && packages+=(libbenchmark-dev dpkg-dev)
scripts/install-deps.sh --only "${packages[@]}"
qt=$(scripts/build-qt-windows.sh | tail -1)
[ -f "$qt/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] || fail "no Qt for Windows in $qt"
say "Qt for Windows in $qt"

# The pictures are rendered by a program of the build machine.
if [ -z "$native_dir" ]; then
  native_dir=$out/native-tools
  cmake -S . -B "$native_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGLOMIE_BUILD_TESTS=OFF \
    -DGLOMIE_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$native_dir" --target glomie-render-icon
render_icon=$native_dir/tools/glomie-render-icon

# Optimised as the Linux build is (-O2): at -O3 GCC 12 warns of std::string copies that cannot
# overflow, and warnings are errors here.
toolchain=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release
  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG")
configure=("${toolchain[@]}" -DGLOMIE_WERROR=ON -DGLOMIE_UNITY_SOURCES=ON -DGLOMIE_HOST_RENDER_ICON="$render_icon"
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  # The programs share the C++ runtime with the Qt DLLs (one heap, one exception runtime), so they
  # link it as a DLL, not statically as the toolchain file has it.
  -DCMAKE_EXE_LINKER_FLAGS=)
command -v ccache >/dev/null && configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# GoogleTest and Google Benchmark for Windows, from Debian's sources, built once into this prefix.
prefix=$out/prefix
prefixes="$qt;$prefix"
targets=(glomiecode glomiecode-cli)
if ((tests)); then
  if [ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$out/googletest" "${toolchain[@]}" -DBUILD_GMOCK=OFF \
      -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
    cmake --build "$out/googletest"
    cmake --install "$out/googletest" >/dev/null
    say "built GoogleTest for Windows"
  fi
  # The tests are listed when they run, not at build time, which would need Wine.
  configure+=(-DGLOMIE_BUILD_TESTS=ON -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST)
  targets+=(engine_tests cli_tests service_tests)
else
  configure+=(-DGLOMIE_BUILD_TESTS=OFF)
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
  bench_version=$(dpkg-query -W -f='${source:Version}' libbenchmark-dev)
  (cd "$apt_dir/source" && apt-get "${apt_options[@]}" source -qq "benchmark=$bench_version")
  cmake -S "$(find "$apt_dir/source" -mindepth 1 -maxdepth 1 -type d -name 'benchmark-*')" \
    -B "$out/benchmark" "${toolchain[@]}" -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
    -DGIT_VERSION="${bench_version%%-*}" -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  cmake --build "$out/benchmark"
  cmake --install "$out/benchmark" >/dev/null
  say "built Google Benchmark for Windows"
fi
configure+=(-DGLOMIE_BUILD_BENCH=$bench)
((bench)) && targets+=(engine_bench)
cmake -S . -B "$out/build" "${configure[@]}" -DCMAKE_FIND_ROOT_PATH="$prefixes" -DCMAKE_PREFIX_PATH="$prefixes" \
  >"$out/configure.log" || { tail -30 "$out/configure.log" >&2 && fail "the configure failed"; }
cmake --build "$out/build" --target "${targets[@]}"
for program in glomiecode glomiecode-cli; do
  file "$out/build/src/$([ $program = glomiecode ] && echo app || echo cli)/$program.exe" |
    grep -q 'PE32+ executable (GUI\|PE32+ executable (console' || fail "$program.exe is not a 64-bit Windows program"
done
file "$out/build/src/app/glomiecode.exe" | grep -q '(GUI)' || fail "glomiecode.exe is not a GUI program"
say "built the programs"

# The folder: programs, the encoder's local network module and DLLs in bin\ (the encoder finds its
# Help in ..\Help), then every DLL they load that is not Windows' own, taken from Qt or the
# compiler, until nothing is missing.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")
dist=$out/dist
rm -rf "$dist" && mkdir -p "$dist/bin/platforms" "$dist/bin/styles" "$dist/Help"
cp "$out/build/src/app/glomiecode.exe" "$out/build/src/app/glomiecode-localnet.dll" \
  "$out/build/src/cli/glomiecode-cli.exe" "$dist/bin/"
cp "$qt/plugins/platforms/qwindows.dll" "$dist/bin/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$dist/bin/styles/"
cp res/glomiecode.txt "$dist/Help/glomiecode.txt"
sed 's/$/\r/' LICENSE >"$dist/LICENSE.txt"
compiler=x86_64-w64-mingw32-g++-posix
runtime_dirs=("$qt/bin" "$(dirname "$($compiler -print-file-name=libstdc++-6.dll)")"
  "$(dirname "$($compiler -print-file-name=libwinpthread-1.dll)")")
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p'; }
while :; do
  added=0
  while read -r dll; do
    [ -f "$dist/bin/$dll" ] && continue
    for dir in "${runtime_dirs[@]}"; do
      if [ -f "$dir/$dll" ]; then
        cp "$dir/$dll" "$dist/bin/" && added=1
        break
      fi
    done
  done < <(find "$dist/bin" -name '*.dll' -o -name '*.exe' | while read -r pe; do imports "$pe"; done | sort -u)
  ((added)) || break
done
find "$dist/bin" -maxdepth 1 -name 'lib*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
x86_64-w64-mingw32-strip --strip-unneeded "$dist/bin/"*.exe
# Nothing from the build machine at run time: every DLL named is in the folder or one of Windows'.
windows_dlls='^(kernel32|user32|gdi32|shell32|shcore|winhttp|wininet|comctl32|rpcrt4|ntdll|mswsock|powrprof|ole32|oleaut32|advapi32|ws2_32|msvcrt|comdlg32|imm32|winmm|version|netapi32|userenv|dwmapi|uxtheme|shlwapi|setupapi|dnsapi|iphlpapi|crypt32|secur32|bcrypt|ncrypt|mpr|authz|wtsapi32|d3d9|d3d11|dxgi|dwrite|d2d1|api-ms-win-.*)\.dll$'
missing=$(find "$dist/bin" -name '*.dll' -o -name '*.exe' | while read -r pe; do imports "$pe"; done | sort -u |
  while read -r dll; do
    [ -f "$dist/bin/$dll" ] || grep -qiE "$windows_dlls" <<<"$dll" || echo "$dll"
  done)
[ -z "$missing" ] || fail "the programs load DLLs the folder does not hold: $missing"
say "laid out $dist ($(du -sk "$dist" | cut -f1) KiB)"

# The zip: one folder named after the version.
zip=$out/glomiecode-$version-windows-x64.zip
rm -f "$zip" && rm -rf "$out/zip" && mkdir -p "$out/zip"
cp -r "$dist" "$out/zip/glomiecode-$version"
(cd "$out/zip" && zip -qr9 -X "$zip" "glomiecode-$version")
rm -rf "$out/zip"
say "zipped $(basename "$zip") ($(stat -c %s "$zip") bytes)"

# The setup program; its uninstaller deletes exactly the files it installed, deepest folder first.
files=$out/uninstall-files.nsh
(
  cd "$dist"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|^|  Delete "$INSTDIR\\|; s|$|"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|^|  RMDir "$INSTDIR\\|; s|$|"|'
) >"$files"
IFS=. read -r major minor patch <<<"$version"
setup=$out/glomiecode-$version-setup.exe
makensis -V2 -DVERSION="$version" -DVERSION_QUAD="$((10#$major)).$((10#$minor)).$((10#${patch:-0})).0" \
  -DDIST="$dist" -DFILES="$files" -DICON="$out/build/src/app/glomiecode.ico" \
  -DSIZE_KB="$(du -sk "$dist" | cut -f1)" -DOUTFILE="$setup" packaging/windows/glomiecode.nsi
file "$setup" | grep -q 'PE32+ executable' || fail "the setup program is not a 64-bit Windows program"
say "made $(basename "$setup") ($(stat -c %s "$setup") bytes)"
