#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs, with apt-get, whatever the build and the tests need and this machine lacks.
# Usage: scripts/install-deps.sh [PACKAGE...]        what the build needs, and the packages named
#        scripts/install-deps.sh --only PACKAGE...   only the packages named
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xdg-utils desktop-file-utils appstream
  dpkg-dev file binutils groff-base man-db fonts-dejavu-core
)
if [ "${1:-}" = --only ]; then
  shift
  packages=()
fi
# Extra packages a caller asks for (CI adds the browser and the load generator).
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
