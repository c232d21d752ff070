#!/usr/bin/env bash
# The real program's session under Xvfb: one running copy per user, a second
# start that brings the first forward (or says it runs when the first cannot
# answer), no start blocked or saved unlocked by what sits at the lock
# file's path, a user's
# backups surviving ten starts while the saves' own old leftovers go,
# SIGTERM ending the orderly way with the file saved, a killed copy never
# blocking the next start, and the process gone promptly after its window
# closes.
set -euo pipefail

program=$1
home=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do
    kill -CONT "$p" 2>/dev/null || true
    kill -KILL "$p" 2>/dev/null || true
  done
  kill "${xvfb_pid:-0}" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

. "$(dirname "$0")/xvfb.sh"
start_xvfb session 1024x768 "$home"
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=xcb
mkdir -m 0700 "$home/run"
file=$XDG_DATA_HOME/Formulon/.camp.cam

fail() {
  echo "session: $*" >&2
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    echo "session: a window \"$(xdotool getwindowname "$w")\" is shown" >&2
  done
  cat "$home/log" >&2
  exit 1
}

start() { # -> pid in $started
  "$program" >>"$home/log" 2>&1 &
  started=$!
  pids+=("$started")
}

visible() { # name -> ids of visible windows
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

wait_window() { # name pid -> window id
  for _ in $(seq 100); do
    id=$(visible "$1" | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

ends_within() { # pid tenths -> the exit status, or fails
  for _ in $(seq "$2"); do
    kill -0 "$1" 2>/dev/null || { wait "$1" && return 0 || return $?; }
    sleep 0.1
  done
  return 124
}

# A pipe at the lock file's path neither hangs a start nor is written
# through: the copy says so in a box, starts, and never saves unlocked.
folder=${file%/*}
mkdir -p "$folder"
mkfifo "$folder/formulon.lock"
start; piped=$started
box=$(wait_window Formulon "$piped") || fail "a pipe at the lock's path hung the start"
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
for _ in $(seq 100); do
  [ -n "$(visible Formulon | grep -vx "$box" || true)" ] && [ -z "$(visible Formulon | grep -x "$box" || true)" ] && break
  sleep 0.1
done
[ -z "$(visible Formulon | grep -x "$box" || true)" ] || fail "the lock's message stayed"
kill -TERM "$piped"
ends_within "$piped" 30 || fail "the copy beside a pipe did not end on SIGTERM"
[ -p "$folder/formulon.lock" ] || fail "the pipe at the lock's path was touched"
[ ! -e "$file" ] || fail "the table was saved without a lock"
rm "$folder/formulon.lock"

# The user keeps copies of the file by hand; a save cut short long ago left
# its temporary file, one a moment ago may be another machine's save.
echo mine >"$file.backup"
echo mine >"$file.AbC123"
echo leftover >"$file.formulon-save-AbC123"
touch -d '2 minutes ago' "$file.formulon-save-AbC123"
echo leftover >"$file.formulon-save-Young1"
start; first=$started
main=$(wait_window Formulon "$first") || {
  kill -0 "$first" 2>/dev/null || { wait "$first" || echo "session: the first copy ended with $?" >&2; }
  fail "the first copy showed no window"
}

# A window manager, as on a desktop, carries the request to come forward;
# started after the first window, which it then takes over.
openbox --sm-disable >/dev/null 2>&1 &
pids+=("$!")
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
sleep 0.5
# A second start brings the first copy's window forward and ends at once.
xlogo -geometry 100x100+700+500 >/dev/null 2>&1 &
pids+=("$!")
for _ in $(seq 50); do logo=$(xdotool search --onlyvisible --class xlogo | head -n 1 || true); [ -n "$logo" ] && break; sleep 0.1; done
xdotool windowfocus --sync "$logo"
start; second=$started
status=0; ends_within "$second" 30 || status=$?
[ "$status" -eq 0 ] || fail "the second copy ended with status $status"
[ "$(visible Formulon | wc -l)" -eq 1 ] || fail "a second main window appeared"
for _ in $(seq 20); do [ "$(xdotool getwindowfocus)" = "$main" ] && break; sleep 0.1; done
[ "$(xdotool getwindowfocus)" = "$main" ] || fail "the running copy's window did not come forward"

# A running copy that cannot answer: the second start says so and ends.
kill -STOP "$first"
start; second=$started
box=$(wait_window Information "$second") || fail "no box for a copy that does not answer"
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
ends_within "$second" 30 || fail "the second copy did not end after its box"
kill -CONT "$first"
kill -0 "$first" || fail "the first copy did not survive"

# SIGTERM closes the way the window does: the exit save runs, the process
# ends promptly with status 0.
rm -f "$file"
kill -TERM "$first"
ends_within "$first" 10 || fail "SIGTERM did not end the program within a second"
[ "$(stat -c %s "$file" 2>/dev/null || echo 0)" -eq 8704 ] || fail "SIGTERM ended without the exit save"
[ ! -e "$file.formulon-save-AbC123" ] || fail "an old leftover of a cut-short save was not removed"
[ -e "$file.formulon-save-Young1" ] || fail "a save in progress had its temporary file removed"

# An old empty lock file (as another machine or an earlier version may
# leave) blocks no start: only a live holder's kernel lock counts, and the
# file stays. A user's copies of the file survive start after start.
rm "$folder/formulon.lock"
touch -d '1 minute ago' "$folder/formulon.lock"
for round in $(seq 10); do
  start; copy=$started
  wait_window Formulon "$copy" >/dev/null || fail "start $round showed no window"
  kill -TERM "$copy"
  ends_within "$copy" 30 || fail "start $round did not end on SIGTERM"
done
[ -f "$folder/formulon.lock" ] || fail "the lock file was removed"
for copy in "$file.backup" "$file.AbC123"; do
  [ "$(cat "$copy" 2>/dev/null)" = mine ] || fail "the user's ${copy##*/} did not survive ten starts"
done

# A copy killed outright blocks no later start.
start; killed=$started
wait_window Formulon "$killed" >/dev/null || fail "no window after a clean end"
kill -KILL "$killed"; wait "$killed" 2>/dev/null || true
start; third=$started
main=$(wait_window Formulon "$third") || fail "a killed copy kept the program from starting"

# Closed through the menu, the process is gone within a second.
for _ in 1 2 3; do
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  xdotool mousemove --window "$main" 20 10 click 1
  sleep 0.5
  xdotool key Up
  sleep 0.2
  xdotool key Return
  for _ in $(seq 20); do [ -z "$(visible Formulon)" ] && break; sleep 0.05; done
  [ -z "$(visible Formulon)" ] && break
done
[ -z "$(visible Formulon)" ] || fail "the menu's exit did not close the window"
ends_within "$third" 10 || fail "the process lived on after its window closed"
echo "session: passed"
