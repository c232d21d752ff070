#!/usr/bin/env bash
# A class table under Xvfb: two pupils with homes of their own start the
# real program with one --table each; both win a game, one after the other,
# and both records end in the table, whatever each copy had loaded. Every
# answer is tried with its task's variants' reference formulas in turn: a
# wrong one changes nothing, so one of them is right. Run by root, the pupils
# are another user, and their checks and a third pupil's practice go to a
# results log the teacher (root) made: every check ends in it.
set -euo pipefail

program=$1
formulas=$2
root=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null || true; done
  kill "${xvfb_pid:-0}" 2>/dev/null || true
  rm -rf "$root"
}
trap cleanup EXIT

. "$(dirname "$0")/xvfb.sh"
start_xvfb class-table 1024x768 "$root"
export QT_QPA_PLATFORM=xcb
mapfile -t answers < <("$formulas") # task, a tab, a reference formula
[ "${#answers[@]}" -gt 0 ] || { echo "class-table: no reference formulas" >&2; exit 1; }
last_task=${answers[-1]%%$'\t'*}
mkdir -m 2770 "$root/class"
table=$root/class/table.cam
log=$root/results.log
as_pupil=() results=()
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
  as_pupil=(setpriv --reuid=65534 --regid=65534 --groups=4242) results=(--results "$log")
  chmod 755 "$root" && chgrp 4242 "$root/class"
  install -m 0620 -g 4242 /dev/null "$log"
  # The leak checker's suppressions may lie where the pupil cannot read them
  # (a clone in root's home): the pupils' copies read a copy of their own.
  if [[ ${LSAN_OPTIONS:-} == *suppressions=* ]]; then
    suppressions=${LSAN_OPTIONS#*suppressions=}
    suppressions=${suppressions%%:*}
    install -m 0644 "$suppressions" "$root/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/"suppressions=$suppressions"/"suppressions=$root/lsan.supp"}
  fi
fi
checks=0

fail() {
  echo "class-table: $*" >&2
  cat "$root"/*.log >&2 2>/dev/null || true
  exit 1
}

start() { # pupil -> pid in $started
  mkdir -p "$root/$1"
  [ ${#as_pupil[@]} = 0 ] || chown 65534 "$root/$1"
  HOME=$root/$1 XDG_DATA_HOME=$root/$1/share "${as_pupil[@]}" "$program" --table "$table" \
    "${results[@]}" >"$root/$1.log" 2>&1 &
  started=$!
  pids+=("$started")
}

window() { # pid title -> the id of its visible window with that title, waiting for it
  for _ in $(seq 200); do
    id=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

gone() { # pid title: waits until that window is hidden
  for _ in $(seq 200); do
    [ -z "$(xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null || true)" ] && return 0
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

in_table() { [ -f "$table" ] && grep -aq "$1" "$table"; }

# One check: the answer typed afresh, the verdict taken with Enter.
check() { # pid answer
  local main verdict
  main=$(window "$1" Formulon) || fail "no main window to answer in"
  focus "$main" || fail "the main window never took the keyboard"
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 1 "$2"
  xdotool key Return
  checks=$((checks + 1))
  verdict=$(window "$1" 'Информация') || fail "no verdict for $2"
  focus "$verdict" || fail "the verdict window never took the keyboard"
  sleep 0.35 # Enter presses "Далее" only 0.3 s after the verdict appeared
  xdotool key Return
  gone "$1" 'Информация' || fail "the verdict window stayed"
}

play() { # pid name: registers and answers until the record is in the table
  local main answer
  main=$(window "$1" Formulon) || fail "$2's copy showed no main window"
  focus "$main" || fail "$2's main window never took the keyboard"
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 1 "$2"
  xdotool key Return
  for answer in "${answers[@]}"; do
    check "$1" "${answer#*$'\t'}"
    # The record is saved the moment it is entered.
    [ "${answer%%$'\t'*}" = "$last_task" ] && in_table "$2" && return 0
  done
  fail "$2 never reached the table"
}

start anna; anna=$started
start boris; boris=$started
start carl; carl=$started
window "$anna" Formulon >/dev/null || fail "anna's copy did not start"
window "$boris" Formulon >/dev/null || fail "boris's copy did not start"
focus "$(window "$carl" Formulon)" || fail "carl's copy did not start"
xdotool key ctrl+t
focus "$(window "$carl" Тренировка)" || fail "carl's practice did not open"
xdotool type --delay 1 "2*y" && xdotool key Return
play "$anna" Anna
play "$boris" Boris
in_table Anna || fail "Boris's save lost Anna's record"
kill -TERM "$anna" "$boris" "$carl"
wait "$anna" "$boris" "$carl" || fail "a copy did not end cleanly"
# A copy writes its queued lines before it ends: the log is complete now.
if [ ${#results[@]} != 0 ]; then
  [ "$(wc -l <"$log")" = $((checks + 1)) ] || fail "the log lacks checks: $(cat "$log")"
  grep -q $'\t1\.[0-9]\t2\*y\t.*\tpractice\tWRONG\t\t$' "$log" || fail "no practice check logged"
  [ "$(grep -cE $'\t[0-9]+\.[0-9]\t[^\t]+\t[^\t]+\t(Anna|Boris)\tquiz\t(RIGHT|WRONG)\t[0-9]+\t$' "$log")" \
    = "$checks" ] || fail "the quiz's checks are not all whole in the log"
fi
in_table Anna && in_table Boris || fail "the exit saves lost a record"
[ "$(stat -c %a "$table")" = 660 ] || fail "the class table is not group-writable"
echo "class-table: passed"
