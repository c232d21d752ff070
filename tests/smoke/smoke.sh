#!/usr/bin/env bash
# Starts formulon under Xvfb and plays one answer with xdotool, visiting
# every window and box on the way and checking each one's title as the
# window manager reads it (_NET_WM_NAME). Screenshots are left in the
# artefacts folder.
set -euo pipefail

program=$1
artefacts=$2
mkdir -p "$artefacts"
home=$(mktemp -d)
trap 'kill "${app_pid:-0}" "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$home"' EXIT

. "$(dirname "$0")/xvfb.sh"
start_xvfb smoke 1024x768 "$home"

# The champions file goes to this run's own home, never the user's. A
# damaged file makes the program say so before the main window shows.
mkdir -p "$home/.local/share/Formulon"
head -c 100 /dev/zero >"$home/.local/share/Formulon/.camp.cam" # cut short
HOME=$home XDG_DATA_HOME=$home/.local/share QT_QPA_PLATFORM=xcb "$program" &
app_pid=$!

fail() {
  echo "smoke: $*" >&2
  import -window root "$artefacts/failure.png" 2>/dev/null || true
  exit 1
}

title_of() { # window id -> its title as the window manager reads it
  xprop -id "$1" _NET_WM_NAME 2>/dev/null |
    sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

wait_window() { # exact title -> id of the program's visible window with it
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true); do
      [ "$(title_of "$id")" = "$1" ] && { echo "$id"; return 0; }
    done
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

press() { # window id, keys: the keys go to that window, focused first
  local id=$1
  shift
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.2
  xdotool key "$@"
}

info=$(wait_window Information) || fail "no box titled \"Information\" for the damaged file"
press "$info" Return

main=$(wait_window Formulon) || fail "no main window titled \"Formulon\""
sleep 0.5
import -window "$main" "$artefacts/main-window.png"

# Task bars show the menu entry's icon: the window's class is the entry's
# StartupWMClass, and the window carries the icon itself as well.
desktop="$(dirname "$0")/../../packaging/org.example.formulon.desktop"
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
xprop -id "$main" WM_CLASS | grep -qF "\"$wm_class\"" ||
  fail "window class $(xprop -id "$main" WM_CLASS) is not StartupWMClass=$wm_class"
# Read whole before searching: grep -q would stop xprop early, and pipefail
# would take its broken pipe for a failure.
icons=$(xprop -id "$main" _NET_WM_ICON)
grep -q 'Icon (48 x 48)' <<<"$icons" || fail "the main window has no icon"

# An empty name: the warning box. The name box has the focus.
press "$main" ctrl+a BackSpace Return
warning=$(wait_window Warning) || fail "no box titled \"Warning\" for an empty name"
press "$warning" Return
sleep 0.3

# A name, Enter starts the game and the answer box has the focus.
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool type --delay 20 'Pupil'
xdotool key Return
sleep 0.3
xdotool type --delay 20 '1+1'
xdotool key Return

verdict=$(wait_window 'Информация') || fail "no verdict window titled \"Информация\""
sleep 0.5
import -window "$verdict" "$artefacts/verdict-window.png"
# "Далее" is an oval: click its centre.
xdotool mousemove --window "$verdict" 172 420 click 1
main=$(wait_window Formulon) || fail "the main window did not come back"
sleep 0.5

# F10 opens "&Файл"; Right moves to "&Вид", whose first item is "&Чемпионы".
press "$main" F10
sleep 0.3
xdotool key Right Return
champions=$(wait_window 'Рекорды') || fail "no champions window titled \"Рекорды\""
# Nothing here activates a new window but the program itself.
for _ in $(seq 30); do
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$champions" ] && break
  sleep 0.1
done
[ "$(xdotool getwindowfocus 2>/dev/null)" = "$champions" ] ||
  fail "showing the champions window did not activate it"
import -window "$champions" "$artefacts/champions-window.png"
# "Закрыть" is an oval too.
xdotool mousemove --window "$champions" 192 477 click 1
main=$(wait_window Formulon) || fail "the main window did not come back from the champions"
sleep 0.5

press "$main" F10
sleep 0.3
xdotool key Right Right Return
about=$(wait_window 'Информация') || fail "no about window titled \"Информация\""
press "$about" Escape
sleep 0.3
import -window "$main" "$artefacts/main-window-after.png" 2>/dev/null || true

# F1 explains the answer just checked; Escape closes the explanation.
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key F1
explain=$(wait_window 'Разбор ответа') || fail "F1 did not open the explanation"
sleep 0.5
import -window "$explain" "$artefacts/explain-window.png"
xdotool key Escape
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Разбор ответа$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name '^Разбор ответа$' >/dev/null 2>&1 &&
  fail "Escape did not close the explanation"
# Without a window manager the keyboard stays with no window after a modal
# window closes until the main window is clicked: the menu below needs it.
xdotool mousemove --window "$main" 250 300 click 1
sleep 1

# "В&ыход" through the menu: open "&Файл" with a click, Up picks its last
# item. A click that lands while the window is still being mapped is lost,
# so try a few times.
for _ in 1 2 3; do
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  xdotool mousemove --window "$main" 20 10 click 1
  sleep 0.5
  xdotool key Up
  sleep 0.2
  xdotool key Return
  for _ in $(seq 30); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null || break
done
kill -0 "$app_pid" 2>/dev/null && fail "the program did not end through the menu"
wait "$app_pid" || fail "the program ended with an error"

file="$home/.local/share/Formulon/.camp.cam"
[ -f "$file" ] || fail "no champions file was written"
size=$(stat -c %s "$file")
[ "$size" -eq 8704 ] || fail "the champions file has $size bytes"
echo "smoke: passed; screenshots in $artefacts"
