#!/usr/bin/env bash
# A teacher's set of three tasks under Xvfb: the program started with --tasks
# names the set in its caption, typesets the pictures into the user's cache,
# plays the three tasks in order and enters the win in the set's own
# champions file, never in the standard one.
set -euo pipefail

program=$1
root=$(mktemp -d)
pid=0
trap 'kill -KILL "$pid" 2>/dev/null || true; kill "${xvfb_pid:-0}" 2>/dev/null || true; rm -rf "$root"' EXIT

. "$(dirname "$0")/xvfb.sh"
start_xvfb task-set 1024x768 "$root"
export QT_QPA_PLATFORM=xcb HOME=$root/home XDG_DATA_HOME=$root/home/share \
  XDG_CACHE_HOME=$root/home/cache XDG_CONFIG_HOME=$root/home/config
mkdir -p "$HOME"
printf '%% Набор: Три задачи\nP11  sin(y+z)  \\sin(y+z)\nP21  y^2-z  y^2-z\nP31  cos(2*y)  \\cos 2y\n' \
  >"$root/three.tasks"
champions=$XDG_DATA_HOME/Formulon/three.cam

fail() {
  echo "task-set: $*" >&2
  cat "$root/log" >&2 2>/dev/null || true
  exit 1
}

until_true() { # command...: waits up to 10 s for it to succeed
  for _ in $(seq 200); do "$@" && return 0; kill -0 "$pid" 2>/dev/null || return 1; sleep 0.05; done
  return 1
}

shown() { # title -> the id of the program's visible window with that title
  id=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -n 1)
  [ -n "$id" ]
}

focused() { # title: that window shown and holding the keyboard
  shown "$1" && { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$id" ] || { xdotool windowfocus "$id" 2>/dev/null; false; }; }
}

answer() { # window title, text: typed afresh into its focused box, then Enter
  until_true focused "$1" || fail "no window '$1' took the keyboard"
  xdotool key --clearmodifiers ctrl+a BackSpace type --delay 1 "$2"
  xdotool key Return
}

pictures() { [ "$(find "$XDG_CACHE_HOME/Formulon/pictures" -name '*.png' 2>/dev/null | wc -l)" -eq 3 ]; }

"$program" --tasks "$root/three.tasks" >"$root/log" 2>&1 &
pid=$!
# The last picture reaches the cache just as "Начать" opens.
until_true pictures || fail "the three pictures were not typeset"
answer 'Formulon — Три задачи' Tanya
for formula in 'sin(y+z)' 'y^2-z' 'cos(2*y)'; do
  answer 'Formulon — Три задачи' "$formula"
  until_true focused 'Информация' || fail "no verdict for $formula"
  sleep 0.35 # Enter presses "Далее" only 0.3 s after the verdict appeared
  xdotool key Return
done
until_true grep -aq Tanya "$champions" || fail "the win of the set's last task is not in three.cam"
kill -TERM "$pid"
wait "$pid" || fail "the program did not end cleanly"
! grep -aqs Tanya "$XDG_DATA_HOME/Formulon/.camp.cam" || fail "the set's time reached the standard file"
echo "task-set: passed"
