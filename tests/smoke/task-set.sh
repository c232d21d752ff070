#!/usr/bin/env bash
# A teacher's set of three tasks under Xvfb: the real program started with
# --tasks names the set in its caption, typesets the pictures into the
# user's cache before "Начать" takes the name, plays the three tasks in
# order and enters the win in the set's own champions file, never in the
# standard one.
set -euo pipefail

program=$1
root=$(mktemp -d)
pid=0
cleanup() {
  kill -KILL "$pid" 2>/dev/null || true
  kill "${xvfb_pid:-0}" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT

. "$(dirname "$0")/xvfb.sh"
start_xvfb task-set 1024x768 "$root"
export QT_QPA_PLATFORM=xcb HOME=$root/home XDG_DATA_HOME=$root/home/share \
  XDG_CACHE_HOME=$root/home/cache XDG_CONFIG_HOME=$root/home/config
mkdir -p "$HOME"
cat >"$root/three.tasks" <<'SET'
% Набор: Три задачи
P11  sin(y+z)  \sin(y+z)
P21  y^2-z  y^2-z
P31  cos(2*y)  \cos 2y
SET
answers=('sin(y+z)' 'y^2-z' 'cos(2*y)')
champions=$XDG_DATA_HOME/Formulon/three.cam
pictures=$XDG_CACHE_HOME/Formulon/pictures

fail() {
  echo "task-set: $*" >&2
  cat "$root/log" >&2 2>/dev/null || true
  exit 1
}

window() { # title -> the id of the program's visible window with that title, waiting for it
  for _ in $(seq 200); do
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

gone() { # title: waits until that window is hidden
  for _ in $(seq 200); do
    [ -z "$(xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null || true)" ] && return 0
    sleep 0.05
  done
  return 1
}

focus() { # window id: waits until it has the keyboard
  for _ in $(seq 200); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
    xdotool windowfocus "$1" 2>/dev/null || true
    sleep 0.02
  done
  return 1
}

typed() { # text: typed into the focused box afresh, then Enter
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 1 "$1"
  xdotool key Return
}

"$program" --tasks "$root/three.tasks" >"$root/log" 2>&1 &
pid=$!
main=$(window 'Formulon — Три задачи') || fail "no main window captioned with the set's title"
# The pictures are written to the cache as they are made, the last one
# just as "Начать" opens.
for _ in $(seq 600); do
  [ "$(find "$pictures" -name '*.png' 2>/dev/null | wc -l)" -eq 3 ] && break
  sleep 0.05
done
[ "$(find "$pictures" -name '*.png' | wc -l)" -eq 3 ] || fail "the three pictures were not typeset"
focus "$main" || fail "the main window never took the keyboard"
typed Tanya
for answer in "${answers[@]}"; do
  main=$(window 'Formulon — Три задачи') || fail "no main window to answer in"
  focus "$main" || fail "the main window never took the keyboard"
  typed "$answer"
  verdict=$(window 'Информация') || fail "no verdict for $answer"
  focus "$verdict" || fail "the verdict window never took the keyboard"
  sleep 0.35 # Enter presses "Далее" only 0.3 s after the verdict appeared
  xdotool key Return
  gone 'Информация' || fail "the verdict window stayed"
done
for _ in $(seq 200); do
  [ -f "$champions" ] && grep -aq Tanya "$champions" && break
  sleep 0.05
done
grep -aq Tanya "$champions" 2>/dev/null || fail "the win of the set's last task is not in three.cam"
kill -TERM "$pid"
wait "$pid" || fail "the program did not end cleanly"
if grep -aqs Tanya "$XDG_DATA_HOME/Formulon/.camp.cam"; then
  fail "the set's time reached the standard champions file"
fi
echo "task-set: passed"
