#!/usr/bin/env bash
# Starts formulon under Xvfb on a 1280 x 1024 screen, with openbox as the
# window manager where it is installed, and checks that the main window,
# frame included, lies wholly on it. CTest runs it with QT_SCALE_FACTOR=2,
# at which the laid-out position would run past the right and bottom edges.
set -euo pipefail

program=$1
home=$(mktemp -d)
trap 'kill "${app_pid:-0}" "${wm_pid:-0}" "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$home"' EXIT

. "$(dirname "$0")/xvfb.sh"
start_xvfb on-screen 1280x1024 "$home"

if command -v openbox >/dev/null; then
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 0.5
else
  echo "on-screen: openbox is not installed; checking without a window manager"
fi

HOME=$home XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=xcb "$program" &
app_pid=$!

main=
for _ in $(seq 100); do
  main=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n 1 || true)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "$main" ] || { echo "on-screen: the main window never appeared" >&2; exit 1; }
# The window may move once more after the window manager has framed it.
fits() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  # The frame's left, right, top and bottom widths, when a manager framed it.
  read -r fl fr ft fb < <(xprop -id "$main" _NET_FRAME_EXTENTS 2>/dev/null |
    sed -n 's/^_NET_FRAME_EXTENTS(CARDINAL) = \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)$/\1 \2 \3 \4/p' ||
    true)
  fl=${fl:-0} fr=${fr:-0} ft=${ft:-0} fb=${fb:-0}
  [ $((X - fl)) -ge 0 ] && [ $((Y - ft)) -ge 0 ] &&
    [ $((X + WIDTH + fr)) -le 1280 ] && [ $((Y + HEIGHT + fb)) -le 1024 ]
}
for _ in $(seq 30); do
  fits && break
  sleep 0.1
done
echo "on-screen: main window ${WIDTH}x${HEIGHT} at $X,$Y, frame $fl $fr $ft $fb (scale ${QT_SCALE_FACTOR:-1})"
fits || { echo "on-screen: the main window runs off the screen" >&2; exit 1; }
echo "on-screen: passed"
