# SPDX-License-Identifier: MIT
# Sourced by the scripts that check a program on a real desktop (scripts/ci-desktop.sh,
# scripts/ci-windows.sh, bench/windows/start-time.sh): an X server and a window manager that owns
# its screen.
#
#   start_desktop SIZE LOG_DIR   exports DISPLAY; returns 1 with a message when there is none
#   stop_desktop                 ends the window manager and the X server it started

# The window manager owns the screen when the root's _NET_SUPPORTING_WM_CHECK names a window that
# names itself back.
wm_owns_screen() {
  local check
  check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*') || return 1
  xprop -id "$check" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$check"
}

start_desktop() {
  local size=$1 logs=$2 numbers attempt
  numbers=$(mktemp)
  # The server picks a free display and says which. -noreset: a server that resets when its last
  # client leaves drops a client that connects meanwhile, the window manager among them.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$numbers" >"$logs/xvfb.log" 2>&1 &
  desktop_xvfb=$!
  for _ in $(seq 100); do [ -s "$numbers" ] && break; sleep 0.1; done
  if [ ! -s "$numbers" ]; then
    echo "the X server did not start: $(tail -5 "$logs/xvfb.log")" >&2
    rm -f "$numbers"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$numbers")"
  rm -f "$numbers"
  # An openbox that ended before it took the screen is started again.
  for attempt in 1 2 3; do
    openbox >"$logs/openbox.log" 2>&1 &
    desktop_wm=$!
    for _ in $(seq 100); do
      wm_owns_screen && return 0
      kill -0 "$desktop_wm" 2>/dev/null || break
      sleep 0.1
    done
    echo "the window manager did not take the screen of $DISPLAY (attempt $attempt):" \
      "$(tail -3 "$logs/openbox.log")" >&2
    kill "$desktop_wm" 2>/dev/null || true
    wait "$desktop_wm" 2>/dev/null || true
  done
  echo "openbox never took the screen of $DISPLAY; the desktop checks cannot run" >&2
  return 1
}

stop_desktop() {
  [ -z "${desktop_wm:-}" ] || kill "$desktop_wm" 2>/dev/null || true
  [ -z "${desktop_xvfb:-}" ] || kill "$desktop_xvfb" 2>/dev/null || true
  wait ${desktop_wm:-} ${desktop_xvfb:-} 2>/dev/null || true
}
