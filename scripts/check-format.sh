#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks that every C++ file is as clang-format leaves it (the root's .clang-format; tables aligned
# by hand sit between "clang-format off" and "on"), and that every source file, script and build
# file names its licence on one of its first three lines.
# Usage: scripts/check-format.sh   (run from anywhere; installs clang-format if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --only clang-format
failures=0

mapfile -t cxx < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run -Werror "${cxx[@]}"; then
  echo "check-format: run clang-format -i on the files above" >&2
  failures=1
fi

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.js' '*.css' '*.html' '*.sh' '*.py' '*.cmake' \
  'CMakeLists.txt' '*/CMakeLists.txt' '*.nsi' 'src/Version.h.in' 'src/app/glomiecode.rc.in' '.ci/run')
for file in "${sources[@]}"; do
  head -n 3 "$file" | grep -q 'SPDX-License-Identifier: MIT' || {
    echo "check-format: $file does not start with its SPDX licence line" >&2
    failures=1
  }
done

((failures == 0)) || exit 1
echo "check-format: ${#cxx[@]} C++ files formatted, ${#sources[@]} files with their licence line"
