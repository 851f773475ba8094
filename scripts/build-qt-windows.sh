#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Qt's base module (Core, Gui, Widgets, Network) for 64-bit Windows, cross-built with MinGW-w64 from
# Debian's own source package of the Qt installed natively, against the native Qt's host tools.
# Built once into a cache folder outside the build tree and reused; prints that folder's path last.
#
# Usage: scripts/build-qt-windows.sh [--from-source]
#   --from-source  build from the source package even where a prebuilt archive of the same recipe
#                  is at hand (about 1,200 steps: some 50 minutes on two cores)
# Environment:
#   GLOMIE_QT_WINDOWS          the cache folder (default: ~/.cache/glomiecode/qt-<version>-mingw-w64)
#   GLOMIE_QT_WINDOWS_ARCHIVE  a .tar.xz of this very recipe's install, with its .sha256 beside it
#                              (default: ../shared/qt-windows/qt-<version>-mingw-w64-x86_64.tar.xz)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

from_source=0
for argument in "$@"; do
  case $argument in
  --from-source) from_source=1 ;;
  *) echo "usage: $0 [--from-source]" >&2 && exit 2 ;;
  esac
done

scripts/install-deps.sh --only cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools \
  dpkg-dev xz-utils >&2

# The same version as the native Qt, whose host tools (moc, rcc, uic) the cross build runs.
package_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
version=${package_version%%+*}
cache=${GLOMIE_QT_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/glomiecode/qt-$version-mingw-w64}
archive=${GLOMIE_QT_WINDOWS_ARCHIVE:-$root/../shared/qt-windows/qt-$version-mingw-w64-x86_64.tar.xz}
start=$SECONDS
say() { echo "build-qt-windows: $* ($((SECONDS - start)) s)" >&2; }

if [ -f "$cache/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ]; then
  echo "$cache"
  exit 0
fi

# A prebuilt install of this recipe, checked against its digest, spares the long build.
if ((!from_source)) && [ -f "$archive" ] && [ -f "$archive.sha256" ]; then
  expected=$(awk '{print $1; exit}' "$archive.sha256")
  actual=$(sha256sum "$archive" | awk '{print $1}')
  if [ "$expected" = "$actual" ]; then
    rm -rf "$cache.partial" && mkdir -p "$cache.partial"
    tar -xJf "$archive" -C "$cache.partial"
    # The archive holds either the install itself or one folder with it.
    inner=$cache.partial
    [ -d "$inner/lib/cmake" ] || inner=$(find "$cache.partial" -mindepth 1 -maxdepth 1 -type d -print -quit)
    [ -f "$inner/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] ||
      { echo "build-qt-windows: $archive holds no Qt Widgets for CMake" >&2 && exit 1; }
    rm -rf "$cache" && mkdir -p "$(dirname "$cache")" && mv "$inner" "$cache" && rm -rf "$cache.partial"
    say "unpacked $(basename "$archive") into $cache"
    echo "$cache"
    exit 0
  fi
  say "the archive's digest does not match its .sha256; building from source"
fi

work=${cache}.build
mkdir -p "$work/apt/lists/partial" "$work/source"

# The source through a private apt configuration: the machine's own sources stay as they are.
sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/*.sources >"$work/apt/debian-src.sources"
apt_options=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt"
  -o Dir::State::Lists="$work/apt/lists")
source_dir=$work/source/qtbase-everywhere-src-$version
if [ ! -d "$source_dir" ]; then
  apt-get "${apt_options[@]}" update -qq
  (cd "$work/source" && apt-get "${apt_options[@]}" source -qq --download-only "qt6-base=$package_version")
  tar -xJf "$(find "$work/source" -maxdepth 1 -name 'qt6-base_*.orig.tar.xz' -print -quit)" -C "$work/source"
  say "took the source of qt6-base $package_version"
fi

# With OpenGL off, the Windows platform plugin still refers to dynamic OpenGL in two blocks.
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
  "$source_dir/src/plugins/platforms/windows/qwindowswindow.cpp"

# The recipe's own toolchain: the project's links its programs statically and runs them under Wine,
# neither of which Qt's build wants.
cat >"$work/mingw.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# The tablet SDK header the platform plugin wants is not in Debian's source: no tablet events (the
# encoder uses none). Everything else the encoder does not use is off too.
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$cache.partial" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF \
  -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_openssl=OFF -DFEATURE_testlib=OFF \
  -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF >"$work/configure.log"
say "configured"
cmake --build "$work/build" >"$work/build.log"
say "built"
rm -rf "$cache.partial"
cmake --install "$work/build" >/dev/null
find "$cache.partial" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
rm -rf "$cache" && mv "$cache.partial" "$cache"
say "installed into $cache"
echo "$cache"
