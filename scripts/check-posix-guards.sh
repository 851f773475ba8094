#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a source file includes a POSIX-only header outside a Unix guard, so that the programs
# keep building on Windows: such an include belongs in an "#ifdef Q_OS_UNIX" branch (or
# "#if defined(Q_OS_LINUX)", "#ifndef Q_OS_WIN", the "#else" of "#ifdef Q_OS_WIN", ...) next to a
# Windows counterpart. <csignal> and <signal.h> count as POSIX-only in a file that uses sigaction,
# kill and the like; std::signal and raise alone are standard C++. Such guards, and every other
# operating-system #if, belong in src/platform: one elsewhere fails too.
#
# Compiling for Windows alone would not do: MinGW-w64 has <unistd.h>, <fcntl.h>, <dirent.h>,
# <pthread.h> and more, with read, write, close and usleep in them, which MSVC has not.
#
# Usage: scripts/check-posix-guards.sh [FILE...]   (default: every source file in src/)
# That every file does compile for Windows, against Windows' own Qt, is checked by the Windows
# build itself (scripts/build-windows.sh).
# Before the real check it checks itself on a few made-up files, so it is known to be able to fail.
set -euo pipefail
cd "$(dirname "$0")/.."

files=("$@")

unix_macro="(Q_OS_(UNIX|LINUX|MACOS|DARWIN|FREEBSD|NETBSD|OPENBSD|BSD4|ANDROID)|__unix__|__unix|__linux__|__APPLE__|_POSIX_VERSION)"
win_macro="(Q_OS_WIN(32|64)?|_WIN32|_WIN64|__MINGW32__|__MINGW64__|_MSC_VER)"

# Prints "FILE:LINE: <header>" for every unguarded POSIX-only include in the files given.
unguarded() {
  awk -v unix_macro="$unix_macro" -v win_macro="$win_macro" '
    function unix_only(expression,    parts, count, i, ok) {
      # Every alternative of an "||" must mean a Unix system: a Unix macro not negated, or a
      # Windows macro negated.
      count = split(expression, parts, /\|\|/)
      for (i = 1; i <= count; i++) {
        ok = 0
        if (parts[i] ~ unix_macro && parts[i] !~ ("!" spaces "(defined" spaces "\\(?" spaces ")?" unix_macro))
          ok = 1
        if (parts[i] ~ ("!" spaces "(defined" spaces "\\(?" spaces ")?" win_macro))
          ok = 1
        if (!ok)
          return 0
      }
      return 1
    }
    function windows_only(expression) {
      return expression !~ /\|\|/ && expression ~ win_macro && expression !~ ("!" spaces "(defined" spaces "\\(?" spaces ")?" win_macro)
    }
    function guarded(    i) {
      for (i = 1; i <= depth; i++)
        if (branch_unix[i])
          return 1
      return 0
    }
    BEGIN {
      spaces = "[ \t]*"
      posix_header = "^(unistd|fcntl|poll|pwd|grp|dlfcn|termios|pthread|semaphore|spawn|syslog|dirent|sched|netdb|libgen|glob|fnmatch|wordexp|sys/[^>\"]*|arpa/[^>\"]*|netinet/[^>\"]*|net/[^>\"]*)\\.h$"
      signal_calls = "(^|[^A-Za-z_])(sigaction|sigemptyset|sigfillset|sigaddset|sigprocmask|pthread_sigmask|sigwait|sigsuspend|kill|killpg)[ \t]*\\("
    }
    FNR == 1 {
      depth = 0
      # A first pass over the file: does it use the POSIX signal calls?
      posix_signals = 0
      while ((getline line < FILENAME) > 0)
        if (line ~ signal_calls)
          posix_signals = 1
      close(FILENAME)
    }
    {
      line = $0
      sub(/\/\/.*/, "", line)
      if (line !~ /^[ \t]*#/)
        next
      sub(/^[ \t]*#[ \t]*/, "", line)
      directive = line
      sub(/[ \t(].*/, "", directive)
      rest = substr(line, length(directive) + 1)
      if (directive == "ifdef" || directive == "ifndef" || directive == "if") {
        depth++
        if (directive == "ifdef") {
          branch_unix[depth] = unix_only(rest)
          chain_windows[depth] = windows_only(rest)
        } else if (directive == "ifndef") {
          branch_unix[depth] = windows_only(rest)
          chain_windows[depth] = 0
        } else {
          branch_unix[depth] = unix_only(rest)
          chain_windows[depth] = windows_only(rest)
        }
      } else if (directive == "elif" && depth > 0) {
        branch_unix[depth] = unix_only(rest)
        chain_windows[depth] = chain_windows[depth] && windows_only(rest)
      } else if (directive == "else" && depth > 0) {
        branch_unix[depth] = chain_windows[depth]
      } else if (directive == "endif" && depth > 0) {
        depth--
      } else if (directive == "include") {
        header = rest
        gsub(/^[ \t]*[<"]|[>"].*$/, "", header)
        posix = header ~ posix_header || (posix_signals && (header == "csignal" || header == "signal.h"))
        if (posix && !guarded())
          print FILENAME ":" FNR ": <" header ">"
      }
    }
  ' "$@"
}

# Prints "FILE:LINE: text" for every operating-system #if in the files given outside src/platform.
os_conditionals_outside_platform() {
  local file
  for file in "$@"; do
    case $file in src/platform/* | */src/platform/*) continue ;; esac
    grep -HnE "^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b.*($unix_macro|$win_macro)" "$file" || true
  done
}

# The checks on files whose verdict is known: each made-up file says in its name whether it passes.
self_test() {
  local dir failures=0 file found
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' RETURN
  printf '#include <QtGlobal>\n#include <unistd.h>\n' >"$dir/bad-bare.cpp"
  printf '#ifdef Q_OS_WIN\n#include <sys/socket.h>\n#endif\n' >"$dir/bad-windows-branch.cpp"
  printf '#ifdef Q_OS_UNIX\n#else\n#include <fcntl.h>\n#endif\n' >"$dir/bad-else-of-unix.cpp"
  printf '#if !defined(Q_OS_UNIX)\n#include <pwd.h>\n#endif\n' >"$dir/bad-negated.cpp"
  printf '#if defined(Q_OS_LINUX) || defined(FOO)\n#include <dlfcn.h>\n#endif\n' >"$dir/bad-either.cpp"
  printf '#include <csignal>\nvoid f() { sigaction(SIGINT, nullptr, nullptr); }\n' >"$dir/bad-sigaction.cpp"
  printf '#include <csignal>\nvoid f() { std::signal(SIGINT, SIG_IGN); }\n' >"$dir/good-std-signal.cpp"
  printf '#ifdef Q_OS_UNIX\n#include <unistd.h>\n#endif\n' >"$dir/good-ifdef.cpp"
  printf '#ifdef Q_OS_WIN\n#include <windows.h>\n#else\n#include <sys/socket.h>\n#endif\n' >"$dir/good-else-of-windows.cpp"
  printf '#ifndef Q_OS_WIN\n#include <poll.h>\n#endif\n' >"$dir/good-ifndef-windows.cpp"
  printf '#if defined(Q_OS_LINUX) || defined(Q_OS_MACOS)\n#  include <netinet/in.h>\n#endif\n' \
    >"$dir/good-either-unix.cpp"
  printf '#ifdef Q_OS_WIN\n#elif defined(__unix__)\n#if 1\n#include <termios.h>\n#endif\n#endif\n' \
    >"$dir/good-nested-elif.cpp"
  for file in "$dir"/*.cpp; do
    found=$(unguarded "$file")
    case $(basename "$file") in
    bad-*) [ -n "$found" ] || { echo "check-posix-guards: missed the include in $(basename "$file")" >&2 && failures=1; } ;;
    good-*) [ -z "$found" ] || { echo "check-posix-guards: wrongly flagged $found" >&2 && failures=1; } ;;
    esac
  done
  mkdir -p "$dir/conditionals/src/platform"
  printf '#include <QtGlobal>\n#  if defined(Q_OS_LINUX)\n#endif\n' >"$dir/conditionals/bad-if.cpp"
  printf '#ifndef _WIN32\n#endif\n' >"$dir/conditionals/bad-ifndef.cpp"
  printf '#if!defined(__APPLE__)\n#endif\n' >"$dir/conditionals/bad-no-space.cpp"
  printf '#ifndef GLOMIE_INSTALLED_HELP_DIR\n#endif\n// #ifdef Q_OS_WIN\n' >"$dir/conditionals/good-build-option.cpp"
  printf '#ifdef Q_OS_WIN\n#endif\n' >"$dir/conditionals/src/platform/good-in-platform.cpp"
  for file in "$dir"/conditionals/*.cpp "$dir"/conditionals/src/platform/*.cpp; do
    found=$(os_conditionals_outside_platform "$file")
    case $(basename "$file") in
    bad-*) [ -n "$found" ] || { echo "check-posix-guards: missed the #if in $(basename "$file")" >&2 && failures=1; } ;;
    good-*) [ -z "$found" ] || { echo "check-posix-guards: wrongly flagged $found" >&2 && failures=1; } ;;
    esac
  done
  return "$failures"
}

self_test || exit 1

if ((${#files[@]} == 0)); then
  mapfile -t files < <(find src -name '*.cpp' -o -name '*.h' | sort)
fi
found=$(unguarded "${files[@]}")
if [ -n "$found" ]; then
  echo "check-posix-guards: POSIX-only headers outside an #ifdef Q_OS_UNIX (or like) guard:" >&2
  echo "$found" >&2
  exit 1
fi
echo "check-posix-guards: ${#files[@]} files, every POSIX-only include guarded"
found=$(os_conditionals_outside_platform "${files[@]}")
if [ -n "$found" ]; then
  echo "check-posix-guards: operating-system conditionals outside src/platform:" >&2
  echo "$found" >&2
  exit 1
fi
echo "check-posix-guards: no operating-system conditional outside src/platform"
