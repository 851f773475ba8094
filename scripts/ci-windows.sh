#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The encoder as a Windows program, checked here under Wine as a person would use it: built with
# scripts/build-windows.sh, run in a fresh Wine prefix on a real X server (Xvfb) with a window
# manager (openbox), driven with the keyboard (xdotool), its answers read back from Wine's registry.
#   1. the GoogleTest suites that run on Windows pass under Wine, the engine's with the very tests
#      that pass natively;
#   2. glomiecode-cli.exe gives the Linux build's code and decoding for the worked examples and 50
#      random answer sets;
#   3. the encoder on the desktop (tests/windows/windows_check.py): splash, sheet, keyboard, the
#      registry, the next start, the second start, Decode, Paste Code, and a screenshot;
#   4. the setup program installs silently, the installed encoder runs and finds its help, and the
#      uninstaller removes it and leaves the answers.
# Usage: scripts/ci-windows.sh [--built] [NATIVE_BUILD_DIR]   (default build/ci; built there where
# missing). --built: `scripts/build-windows.sh --tests NATIVE_BUILD_DIR` has just run, so it is not
# run again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
built=0
if [ "${1:-}" = --built ]; then
  built=1
  shift
fi
native=$(realpath "${1:-build/ci}")
out=$root/build/windows-cross
start=$SECONDS
say() { echo "ci-windows: $* ($((SECONDS - start)) s)"; }
failed=0
fail() {
  echo "ci-windows: FAILED: $*" >&2
  failed=1
}

scripts/install-deps.sh xvfb openbox xdotool xclip x11-utils imagemagick wine wine64 python3 nsis zip
if [ ! -f "$native/CMakeCache.txt" ]; then
  cmake --preset ci >/dev/null
fi
cmake --build "$native" --target glomiecode-cli glomie-engine-oracle glomie-render-icon engine_tests
((built)) || scripts/build-windows.sh --tests "$native"
[ -f "$out/dist/bin/glomiecode.exe" ] || { echo "ci-windows: nothing built in $out/dist" >&2 && exit 1; }
say "built for Windows"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/build/CMakeCache.txt")
dist=$out/dist

# The Windows programs use their own platform plugin, whatever the caller's Qt uses.
unset QT_QPA_PLATFORM
# A fresh Wine prefix: no answers stored, nothing installed. No Mono or Gecko offered, no debug chatter.
export WINEPREFIX=$out/ci-prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
(unset DISPLAY && wine wineboot --init >"$out/wineboot.log" 2>&1 && wineserver -w)
say "made a fresh Wine prefix"
# A Linux path as the Windows programs see it: Wine's drive Z: is the root. (Worked out here rather
# than asked of winepath, a Windows program itself, which can fail and print its failure instead.)
windows_path() { local path; path=$(realpath "$1") && echo "Z:${path//\//\\}"; }
# The test programs find the Qt and compiler DLLs in the folder the encoder ships with.
export WINEPATH="$(windows_path "$dist/bin")"

# ---- 1. The GoogleTest suites under Wine.
# The encoder's own suite (gui_tests) is not among them: it drives the widgets with Qt Test, which
# the Windows Qt does not carry (the recipe leaves the test library out).
# The command line's suite leaves out its one test that looks for the store's Linux file.
declare -A filters=([cli_tests]=-ImportCommand.IntoTheEncodersOwnStore)
# The names of the tests that passed in a suite's log, one a line.
passed_in() { tr -d '\r' <"$1" | sed -n 's/^\[       OK \] \([^ ]*\).*/\1/p' | sort; }
for suite in engine_tests service_tests cli_tests; do
  program=$out/build/tests/$suite.exe
  [ -f "$program" ] || program=$(find "$out/build/tests" -name "$suite.exe" -print -quit)
  if [ -z "$program" ] || [ ! -f "$program" ]; then
    fail "$suite.exe was not built"
    continue
  fi
  log=$out/$suite.wine.log
  status=0
  (cd "$(dirname "$program")" && timeout 900 wine "$program" --gtest_color=no --gtest_filter="${filters[$suite]:-*}") >"$log" 2>&1 || status=$?
  passed=$(passed_in "$log" | wc -l)
  if [ "$status" -ne 0 ] || [ "$passed" -eq 0 ]; then
    tr -d '\r' <"$log" | grep -E '^\[  FAILED  \]|Failure' | head -40 >&2 || tail -20 "$log" >&2
    fail "$suite under Wine exited with $status ($passed tests passed)"
  else
    echo "ci-windows: $suite under Wine: $passed tests passed"
  fi
done
# The engine holds no platform code: on Windows exactly the tests pass that pass on Linux.
"$native/tests/engine_tests" --gtest_color=no >"$out/engine_tests.native.log" 2>&1 ||
  fail "the native engine suite failed"
if ! diff -u <(passed_in "$out/engine_tests.native.log") <(passed_in "$out/engine_tests.wine.log") \
  >"$out/engine_tests.diff"; then
  fail "the engine's suite passed different tests on Linux and under Wine:
$(head -20 "$out/engine_tests.diff")"
fi
say "ran the test suites under Wine"

# ---- 2. The command line against the Linux build's.
cli_linux=$native/src/cli/glomiecode-cli
cli_windows=$dist/bin/glomiecode-cli.exe
answers=$out/answers
rm -rf "$answers" && mkdir -p "$answers"
"$native/tests/wasm/glomie-engine-oracle" 50 >"$answers/oracle.json"
python3 - "$answers" "$cli_linux" <<'PYTHON'
# Writes one settings file per worked example (imported by the Linux command line) and per random
# answer set.
import json, os, subprocess, sys
folder, cli = sys.argv[1], sys.argv[2]
oracle = json.load(open(os.path.join(folder, "oracle.json")))
for index, code in enumerate(oracle["examples"]):
    path = os.path.join(folder, f"example{index:02}.ini")
    # A code whose answers cannot all be stored (import refuses it) is held against Linux's decoding only.
    if subprocess.run([cli, "import", "--settings", path, code], capture_output=True).returncode != 0:
        with open(os.path.join(folder, f"example{index:02}.decode"), "w", encoding="utf-8") as only:
            only.write(code + "\n")
for index, answer_set in enumerate(oracle["sets"]):
    sections = {}
    for key, value in answer_set["answers"].items():
        section, name = key.split("/", 1)
        sections.setdefault(section, []).append(f"{name}={value}")
    with open(os.path.join(folder, f"random{index:02}.ini"), "w", encoding="utf-8") as settings:
        for section, lines in sections.items():
            settings.write(f"[{section}]\n" + "\n".join(lines) + "\n\n")
PYTHON
# decoded NAME CODE: the two builds decode the code alike, plainly and as JSON.
decoded() {
  local form linux_decoded windows_decoded
  for form in "" --json; do
    linux_decoded=$("$cli_linux" decode $form "$2")
    windows_decoded=$(wine "$cli_windows" decode $form "$2" | tr -d '\r')
    [ "$linux_decoded" = "$windows_decoded" ] ||
      fail "$1: the Windows command line decodes differently (decode $form):
$(diff <(echo "$linux_decoded") <(echo "$windows_decoded") | head -10)"
  done
}
compared=0
for settings in "$answers"/*.ini; do
  name=$(basename "$settings" .ini)
  linux_code=$("$cli_linux" code --settings "$settings")
  windows_code=$(wine "$cli_windows" code --settings "$(windows_path "$settings")" | tr -d '\r')
  if [ "$linux_code" != "$windows_code" ]; then
    fail "$name: the Windows command line's code differs: '$windows_code', not '$linux_code'"
    continue
  fi
  decoded "$name" "$linux_code"
  compared=$((compared + 1))
done
decoded_only=0
for code_file in "$answers"/*.decode; do
  [ -f "$code_file" ] || continue
  decoded "$(basename "$code_file" .decode)" "$(cat "$code_file")"
  decoded_only=$((decoded_only + 1))
done
echo "ci-windows: the command line's code and decoding held against Linux for $compared answer sets," \
  "and the decoding alone for $decoded_only worked examples that cannot be stored"
[ "$compared" -ge 50 ] || fail "only $compared answer sets were compared"
say "compared the command line"

# ---- 3 and 4. On a desktop: a real X server (kept when its last client goes), a window manager
# that owns the screen before anything starts, and the checks.
# Wine's desktop process, started without a display by the programs above, would keep every window
# off the screen: all of Wine ends first.
wineserver -k 2>/dev/null || true
wineserver -w
source scripts/x-desktop.sh
trap 'wineserver -k 2>/dev/null || true; stop_desktop' EXIT
if ! start_desktop 1280x800 "$out"; then
  fail "no desktop to run the encoder on"
  exit 1
fi
say "a desktop on $DISPLAY"

status=0
timeout 900 python3 tests/windows/windows_check.py --dist "$dist" --setup "$out/glomiecode-$version-setup.exe" \
  --cli-linux "$cli_linux" --version "$version" --screenshot docs/screenshots/windows-sheet.png \
  --work "$out/desktop-check" || status=$?
[ "$status" -eq 0 ] || fail "the encoder on the Windows desktop (exit $status)"
say "checked the encoder on the desktop"

echo "ci-windows: zip $(stat -c %s "$out/glomiecode-$version-windows-x64.zip") bytes," \
  "setup $(stat -c %s "$out/glomiecode-$version-setup.exe") bytes"
if ((failed)); then
  echo "ci-windows: some checks failed" >&2
  exit 1
fi
say "every check passed"
