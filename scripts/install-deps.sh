#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs, with apt-get, whatever the build and the tests need and this machine lacks.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xdg-utils desktop-file-utils appstream
  dpkg-dev file binutils groff-base man-db fonts-dejavu-core
)
# Extra packages a caller asks for (CI adds the browser and the load generator).
packages+=("$@")

exec "$(dirname "$0")/apt-install.sh" "${packages[@]}"
