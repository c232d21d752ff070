#!/usr/bin/env bash
# Starts formulon under Xvfb on a 1280 x 1024 screen and checks that the
# main window lies wholly on it. CTest runs it with QT_SCALE_FACTOR=2, at
# which the laid-out position would run past the right and bottom edges.
set -euo pipefail

program=$1
home=$(mktemp -d)
trap 'kill "${app_pid:-0}" "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$home"' EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
[ -s "$home/display" ] || { echo "on-screen: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$home/display")"

HOME=$home XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=xcb "$program" &
app_pid=$!

main=
for _ in $(seq 100); do
  main=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n 1 || true)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "$main" ] || { echo "on-screen: the main window never appeared" >&2; exit 1; }
sleep 0.5

eval "$(xdotool getwindowgeometry --shell "$main")"
echo "on-screen: main window ${WIDTH}x${HEIGHT} at $X,$Y (scale ${QT_SCALE_FACTOR:-1})"
if [ "$X" -lt 0 ] || [ "$Y" -lt 0 ] || [ $((X + WIDTH)) -gt 1280 ] || [ $((Y + HEIGHT)) -gt 1024 ]; then
  echo "on-screen: the main window runs off the screen" >&2
  exit 1
fi
echo "on-screen: passed"
