#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the installation: installs into a temporary prefix and checks every file; validates the
# desktop entry, the AppStream metadata, the manual pages and the systemd unit; starts the installed
# programs from another directory and from a moved prefix; builds the Debian package, checks it
# against Debian's policy with lintian, installs it and removes it.
# Usage: scripts/ci-install.sh [preset]  (default: ci; the preset's build is made or brought up to
# date). GLOMIE_BUILD_DIR=DIR checks an existing build folder instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
preset=${1:-ci}

# systemd-analyze checks the unit, lintian the Debian package.
scripts/install-deps.sh systemd lintian
if [ -n "${GLOMIE_BUILD_DIR:-}" ]; then
  build=$(realpath "$GLOMIE_BUILD_DIR")
  cmake --build "$build"
else
  build=$source_dir/build/$preset
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
fi

app_id=io.github.glomiecode.Encoder
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
module=$libdir/glomiecode/modules/glomiecode-localnet.so
icon_sizes=(16 22 24 32 48 64 128 256)
# Every file an installation holds, relative to the prefix.
expected=(
  bin/glomiecode
  bin/glomiecode-cli
  share/glomiecode/glomiecode.txt
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
  share/icons/hicolor/scalable/apps/$app_id.svg
  share/man/man1/glomiecode.1.gz
  share/man/man1/glomiecode-cli.1.gz
  share/doc/glomiecode/copyright
  share/doc/glomiecode/changelog.gz
  lib/systemd/system/glomiecode-decoder.service
  "$module"
)
unit=lib/systemd/system/glomiecode-decoder.service
for size in "${icon_sizes[@]}"; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
# The encoder in the browser, when it has been built (scripts/build-web.sh): every file of the site.
site=$source_dir/build/web
site_files=()
if [ -f "$site/index.html" ]; then
  for file in "$site"/*; do
    case ${file##*.} in html | css | js | wasm | png | svg | ico | json | webmanifest)
      site_files+=("${file##*/}")
      expected+=("share/glomiecode/web/${file##*/}") ;;
    esac
  done
fi

work=$(mktemp -d)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
cleanup() {
  local status=$? pid
  # Only the programs this script started, by their ids.
  if [ -f "$work/pids" ]; then
    while read -r pid; do kill -9 "$pid" 2>/dev/null || true; done <"$work/pids"
  fi
  if [ -e "$work/package-installed" ]; then "${sudo_cmd[@]}" dpkg -P glomiecode >/dev/null 2>&1 || true; fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

passed=0
failed=0
# check NAME COMMAND...: runs one check in a subshell and counts it. A check says itself where it
# fails (errexit does not reach into a tested command).
check() {
  local name=$1
  shift
  if ("$@"); then
    echo "ok    $name"
    passed=$((passed + 1))
  else
    echo "FAIL  $name"
    failed=$((failed + 1))
  fi
}

# --- files ---------------------------------------------------------------------------------------

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

every_file_is_there() {
  local missing=0 file
  for file in "${expected[@]}"; do
    if [ ! -s "$prefix/$file" ]; then
      echo "  missing or empty: $file"
      missing=1
    fi
  done
  return $missing
}

nothing_else_is_installed() {
  local extra
  extra=$(comm -13 <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort))
  if [ -n "$extra" ]; then
    echo "  installed but not expected (add them to the list in scripts/ci-install.sh):"
    echo "$extra" | sed 's/^/    /'
    return 1
  fi
}

programs_are_executable_and_do_not_point_into_the_build() {
  local program
  for program in bin/glomiecode bin/glomiecode-cli "$module"; do
    [ "$program" = "$module" ] || [ -x "$prefix/$program" ] || { echo "  $program is not executable"; return 1; }
    if readelf -d "$prefix/$program" | grep -E 'RPATH|RUNPATH' | grep -q "$source_dir"; then
      echo "  $program keeps a run path into the build"
      return 1
    fi
  done
}

icons_have_their_sizes() {
  local size
  for size in "${icon_sizes[@]}"; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png" | grep -q "PNG image data, $size x $size" ||
      { echo "  the ${size}x${size} icon is not a $size x $size PNG"; return 1; }
  done
  grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg"
}

help_file_is_the_one_written() { cmp "$source_dir/res/glomiecode.txt" "$prefix/share/glomiecode/glomiecode.txt"; }

check "every file is installed" every_file_is_there
check "nothing else is installed" nothing_else_is_installed
check "the programs are executable and keep no run path into the build" programs_are_executable_and_do_not_point_into_the_build
check "the icon has every size" icons_have_their_sizes
check "the help file is installed as written" help_file_is_the_one_written

# --- desktop entry, AppStream metadata, manual pages --------------------------------------------

desktop_entry_validates() { desktop-file-validate "$prefix/share/applications/$app_id.desktop"; }
metainfo_validates() { appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml"; }

desktop_entry_names_what_is_installed() {
  local entry=$prefix/share/applications/$app_id.desktop
  grep -qx "Exec=glomiecode" "$entry" && [ -x "$prefix/bin/glomiecode" ] &&
    grep -qx "Icon=$app_id" "$entry" &&
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$prefix/share/metainfo/$app_id.metainfo.xml"
}

manual_pages_render_without_warnings() {
  local page warnings
  for page in glomiecode glomiecode-cli; do
    warnings=$({ gzip -dc "$prefix/share/man/man1/$page.1.gz" | groff -man -ww -z -Tutf8; } 2>&1) ||
      { echo "  $page.1.gz does not render: $warnings"; return 1; }
    [ -z "$warnings" ] || { echo "$warnings"; return 1; }
  done
}

# The options a --help text lists: "--name" words and "-Name" switches at the start of a line.
options_in() { grep -oE '(^|[ ,[])--?[A-Za-z][A-Za-z-]*' | sed -E 's/^[ ,[]//' | sort -u; }
rendered_page() { MANWIDTH=200 man -l -Tutf8 "$prefix/share/man/man1/$1.1.gz" 2>/dev/null | col -b; }

# Every option and command of the programs' --help texts is in their manual pages.
manual_pages_describe_every_option() {
  local cli=$prefix/bin/glomiecode-cli page missing=0 option command commands help
  page=$(rendered_page glomiecode)
  for option in $("$prefix/bin/glomiecode" --help | options_in); do
    grep -qF -- "$option" <<<"$page" || { echo "  glomiecode(1) does not describe $option"; missing=1; }
  done
  page=$(rendered_page glomiecode-cli)
  help=$("$cli" --help)
  commands=$(sed -n '/^commands:/,/^$/p' <<<"$help" | awk 'NF && !/^commands:/ {print $1}')
  [ -n "$commands" ] || { echo "  glomiecode-cli --help lists no commands"; return 1; }
  for option in $(options_in <<<"$help"); do
    grep -qF -- "$option" <<<"$page" || { echo "  glomiecode-cli(1) does not describe $option"; missing=1; }
  done
  for command in $commands; do
    grep -qE "^ +$command( |$)" <<<"$page" || { echo "  glomiecode-cli(1) does not describe '$command'"; missing=1; }
    for option in $("$cli" "$command" --help | options_in); do
      grep -qF -- "$option" <<<"$page" ||
        { echo "  glomiecode-cli(1) does not describe $option of '$command'"; missing=1; }
    done
  done
  return $missing
}

# The unit runs the installed glomiecode-cli, and systemd finds nothing wrong in it (the manual page
# it names is not in the system's manual path here).
unit_verifies() {
  grep -qx "ExecStart=$prefix/bin/glomiecode-cli serve --bind 127.0.0.1 --port 8080" "$prefix/$unit" ||
    { echo "  the unit does not start $prefix/bin/glomiecode-cli"; return 1; }
  systemd-analyze verify --man=no "$prefix/$unit"
}

# The unit's sandbox, as systemd rates it: "SAFE" is an exposure below 2 of 10.
unit_is_sandboxed() {
  local rating
  rating=$(systemd-analyze security --offline=yes "$prefix/$unit" 2>&1 | grep 'Overall exposure level') ||
    { echo "  systemd-analyze security gave no rating"; return 1; }
  echo "  ${rating#→ }"
  grep -q ' SAFE' <<<"$rating"
}

check "the desktop entry validates" desktop_entry_validates
check "the AppStream metadata validates" metainfo_validates
check "the desktop entry and the metadata name the installed program and icon" desktop_entry_names_what_is_installed
check "the manual pages render without warnings" manual_pages_render_without_warnings
check "the manual pages describe every option" manual_pages_describe_every_option
check "the systemd unit verifies" unit_verifies
check "the systemd unit is sandboxed" unit_is_sandboxed

# --- the installed programs, started from elsewhere ----------------------------------------------

mkdir -p "$work/elsewhere" "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
# From another directory; the programs never see the user's settings or desktop. env runs the program
# in its own process, so $! of a started copy is the program's id.
isolated=(env -C "$work/elsewhere" QT_QPA_PLATFORM=offscreen HOME="$work/home" XDG_CONFIG_HOME="$work/config"
  XDG_RUNTIME_DIR="$work/runtime")
run_isolated() { "${isolated[@]}" "$@"; }

finds_its_files_from_elsewhere() { # finds_its_files_from_elsewhere PREFIX
  local found
  found=$(run_isolated "$1/bin/glomiecode" --print-help-path)
  [ "$found" = "$(realpath "$1/share/glomiecode/glomiecode.txt")" ] || { echo "  found '$found'"; return 1; }
  found=$(run_isolated "$1/bin/glomiecode" --print-module-path)
  [ "$(realpath "$found")" = "$(realpath "$1/$module")" ] || { echo "  loaded the module '$found'"; return 1; }
}

versions_and_code() {
  [ "$(run_isolated "$prefix/bin/glomiecode" --version)" = "glomiecode 1.12.05" ] &&
    run_isolated "$prefix/bin/glomiecode-cli" --version | grep -q 1.12.05 &&
    [ "$(run_isolated "$prefix/bin/glomiecode-cli" code)" = "GlomieCode(1.12.05) SM:5m-" ]
}

wait_for() { # wait_for SECONDS COMMAND...
  local tries=$(($1 * 10))
  shift
  while ! "$@"; do
    tries=$((tries - 1))
    ((tries > 0)) || return 1
    sleep 0.1
  done
}
lock_taken() { compgen -G "$work/runtime/glomiecode-*.lock" >/dev/null; }

# One copy runs, a second is refused with the message, and ending both saves nothing.
runs_once_and_refuses_a_second_copy() {
  "${isolated[@]}" "$prefix/bin/glomiecode" -Embedding 2>"$work/first.err" &
  local first=$!
  echo "$first" >>"$work/pids"
  wait_for 20 lock_taken || { echo "  the encoder did not start"; cat "$work/first.err"; return 1; }
  "${isolated[@]}" "$prefix/bin/glomiecode" 2>"$work/second.err" &
  local second=$!
  echo "$second" >>"$work/pids"
  wait_for 20 grep -q "Only one copy of the Glomie Code Encoder can be running at a time" "$work/second.err" ||
    { echo "  the second copy was not refused"; return 1; }
  kill -TERM "$second"
  local status=0
  wait "$second" || status=$?
  [ "$status" -eq 1 ] || { echo "  the refused copy ended with $status"; return 1; }
  kill -TERM "$first"
  status=0
  wait "$first" || status=$?
  [ "$status" -eq 0 ] || { echo "  the encoder ended with $status"; return 1; }
  [ ! -e "$work/config/kvrq/glomiecode.conf" ] || { echo "  settings were written without OK"; return 1; }
  ! lock_taken || { echo "  the lock was left behind"; return 1; }
}

check "the installed encoder finds its help file and its module from another directory" finds_its_files_from_elsewhere "$prefix"
check "the installed programs tell their version and the default code" versions_and_code
check "the installed encoder runs once and refuses a second copy" runs_once_and_refuses_a_second_copy

# The installed serve hosts the installed encoder in the browser at /encoder/, as built.
serves_the_installed_site() {
  "${isolated[@]}" "$prefix/bin/glomiecode-cli" serve --port 0 >"$work/serve.out" 2>"$work/serve.err" &
  local server=$!
  echo "$server" >>"$work/pids"
  wait_for 20 grep -q "the encoder is at http://" "$work/serve.out" ||
    { echo "  serve does not host the installed site"; cat "$work/serve.out" "$work/serve.err"; return 1; }
  local base status=0
  base=$(sed -n 's|^glomiecode-cli: the encoder is at ||p' "$work/serve.out")
  python3 - "$base" "$site" "${site_files[@]}" <<'PYTHON' || status=1
import sys, urllib.request
base, site, files = sys.argv[1], sys.argv[2], sys.argv[3:]
for name in [""] + files:
    with urllib.request.urlopen(base + name, timeout=10) as answer:
        wanted = open(f"{site}/{name or 'index.html'}", "rb").read()
        if answer.read() != wanted:
            sys.exit(f"  {base + name} is not the file built")
PYTHON
  kill -TERM "$server"
  wait "$server" || true
  return "$status"
}
if [ ${#site_files[@]} -gt 0 ]; then
  check "the installed serve hosts the encoder in the browser" serves_the_installed_site
fi
mv "$prefix" "$work/moved"
prefix=$work/moved
check "a moved installation still finds its help file and its module" finds_its_files_from_elsewhere "$prefix"

# --- the Debian package ---------------------------------------------------------------------------

deb=
if (cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1); then
  deb=$(find "$work/deb" -maxdepth 1 -name 'glomiecode_*.deb' | head -n 1)
else
  cat "$work/cpack.log"
fi

package_holds_every_file() {
  [ -n "$deb" ] || { echo "  cpack made no package"; return 1; }
  diff <(printf '/usr/%s\n' "${expected[@]}" | sort) \
    <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort)
}

package_depends_on_qt() { [ -n "$deb" ] && dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6; }

# Debian's policy as lintian knows it: no error (a copyright file, a changelog, compressed manual
# pages, ...). Its warnings are shown, not failed on.
package_passes_lintian() {
  [ -n "$deb" ] || { echo "  cpack made no package"; return 1; }
  local status=0
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || status=$?
  grep -v '^running with root privileges' "$work/lintian.log" | sed 's/^/  /'
  return $status
}

package_installs_and_removes_cleanly() {
  [ -n "$deb" ] || { echo "  cpack made no package"; return 1; }
  if dpkg-query -W -f='${Status}' glomiecode 2>/dev/null | grep -q 'ok installed'; then
    echo "  a glomiecode package is installed already; it is left alone"
    return 1
  fi
  touch "$work/package-installed"
  "${sudo_cmd[@]}" dpkg -i "$deb" >/dev/null || { echo "  dpkg -i failed"; return 1; }
  local found listed
  found=$(run_isolated /usr/bin/glomiecode --print-help-path)
  [ "$found" = /usr/share/glomiecode/glomiecode.txt ] || { echo "  the packaged encoder found '$found'"; return 1; }
  found=$(run_isolated /usr/bin/glomiecode --print-module-path)
  [ "$(realpath "$found")" = "/usr/$module" ] || { echo "  the packaged encoder loaded the module '$found'"; return 1; }
  listed=$(dpkg -L glomiecode)
  for file in "${expected[@]}"; do
    grep -qx "/usr/$file" <<<"$listed" || { echo "  the package did not install /usr/$file"; return 1; }
  done
  systemd-analyze verify "/usr/$unit" || { echo "  the packaged unit does not verify"; return 1; }
  grep -qx "ExecStart=/usr/bin/glomiecode-cli serve --bind 127.0.0.1 --port 8080" "/usr/$unit" ||
    { echo "  the packaged unit does not start /usr/bin/glomiecode-cli"; return 1; }
  "${sudo_cmd[@]}" dpkg -r glomiecode >/dev/null || { echo "  dpkg -r failed"; return 1; }
  rm "$work/package-installed"
  for file in "${expected[@]}"; do
    [ ! -e "/usr/$file" ] || { echo "  /usr/$file is left after removal"; return 1; }
  done
  # No configuration files, so nothing is left for a purge either.
  local status
  status=$(dpkg-query -W -f='${Status}' glomiecode 2>/dev/null || true)
  [ -z "$status" ] || [[ "$status" == *not-installed ]] || { echo "  after removal: $status"; return 1; }
}

check "the Debian package holds every file" package_holds_every_file
check "the Debian package depends on the Qt libraries" package_depends_on_qt
check "the Debian package follows Debian's policy (lintian finds no error)" package_passes_lintian
check "the Debian package installs and removes cleanly" package_installs_and_removes_cleanly

echo "install: $passed passed, $failed failed"
((failed == 0))
