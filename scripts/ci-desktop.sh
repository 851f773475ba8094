#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The encoder on a real desktop: a real X server (Xvfb) with a stacking window manager (openbox),
# driven with the keyboard and the mouse (xdotool) and read the way a screen reader reads it
# (AT-SPI). On a large screen: the splash in front, every control named, the wheel harmless, a code
# pasted with Ctrl+Shift+V and stored with Return. On a 1024x600 screen: the sheet fits and Tab
# brings every control into sight.
# Usage: scripts/ci-desktop.sh [BUILD_DIR]   (default build/ci; the encoder is built there if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}

scripts/install-deps.sh xvfb openbox xdotool xclip x11-utils dbus-x11 at-spi2-core python3-pyatspi
encoder="${GLOMIE_ENCODER:-$build/src/app/glomiecode}"
cli="$build/src/cli/glomiecode-cli"
if [ ! -x "$encoder" ] || [ ! -x "$cli" ]; then
  cmake --preset ci >/dev/null
  cmake --build "$build" --target glomiecode glomiecode-cli
fi
encoder=$(realpath "$encoder")
cli=$(realpath "$cli")

source scripts/x-desktop.sh

# One X server with its own D-Bus, accessibility bus and window manager; runs the check on it.
on_desktop() {
  local size=$1 checks=$2 logs result=0
  logs=$(mktemp -d)
  if ! start_desktop "$size" "$logs"; then
    stop_desktop
    rm -rf "$logs"
    return 1
  fi
  echo "== $size on $DISPLAY"
  bash -c '
    eval "$(dbus-launch --sh-syntax)"
    trap "kill \$DBUS_SESSION_BUS_PID 2>/dev/null" EXIT
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    # The encoder starts once the accessibility bus answers.
    for _ in $(seq 100); do
      dbus-send --bus="$DBUS_SESSION_BUS_ADDRESS" --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
      sleep 0.1
    done
    timeout 600 /usr/bin/python3 tests/desktop/desktop_check.py "$0" --cli "$1" --checks "$2"
  ' "$encoder" "$cli" "$checks" || result=$?
  stop_desktop
  rm -rf "$logs"
  return $result
}

# The two screens are two X servers of their own: checked side by side, reported one after the other.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
on_desktop 1280x800 splash,names,wheel,keys,paste,pagekeys,partlists,range,opener,second,place >"$logs/large" 2>&1 &
large=$!
on_desktop 1024x600 keyboard,partlists,opener >"$logs/small" 2>&1 &
small=$!
status=0
wait "$large" || status=1
cat "$logs/large"
wait "$small" || status=1
cat "$logs/small"
exit $status
