#!/usr/bin/env bash
# Builds Release in build-release and measures: FormulaValue on the reference
# formulas and the longest answers (formulon-bench), and the program's
# start-up to its first shown main window with its peak memory (offscreen,
# several runs, median). Prints figures only; it never fails on a time.
# STARTUP_RUNS sets the number of start-up runs (default 15).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-release
runs="${STARTUP_RUNS:-15}"
cmake --preset release >/dev/null
cmake --build "$build" -j2 --target formulon-bench formulon-startup-bench formulon \
  formulon-typeset-bench

echo "== Machine"
echo "cores: $(nproc)"
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "kernel: $(uname -r)"

# A fresh user: no champions file, so start-up shows no message box.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME="$scratch" XDG_DATA_HOME="$scratch/share" XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

echo
echo "== FormulaValue (formulon-bench)"
/usr/bin/time -v -o "$scratch/engine.time" "$build/bench/formulon-bench" \
  --benchmark_min_time=0.2
grep -E 'Maximum resident|Elapsed' "$scratch/engine.time"

echo
# The formula typesetter in fresh processes, so each run loads MathJax anew.
echo "== Formula typesetter (formulon-typeset-bench, 3 runs)"
for _ in 1 2 3; do
  QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$scratch/typeset.time" \
    "$build/bench/formulon-typeset-bench"
  grep -E 'Maximum resident' "$scratch/typeset.time"
done

echo
# "Разбор ответа" opened after start-up: the first opening loads the
# typesetter; eight answers (the last two as long as task 10's formulas),
# each opened after its check and once more. Each line gives the
# time to the window's first frame and to the typeset answer.
echo "== Explanation window (formulon-startup-bench --explain 8, 3 runs)"
for _ in 1 2 3; do
  HOME="$scratch" QT_QPA_PLATFORM=offscreen \
    "$build/bench/formulon-startup-bench" --explain 8 2>/dev/null | grep -E '^(explain|peak)'
  echo
done

echo
# The eight longest answers the answer box takes, checked and explained after
# an ordinary one (MathJax loaded): the peak memory.
echo "== Explanation of the longest answers (formulon-startup-bench --explain 2 --explain-long)"
HOME="$scratch" QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$scratch/long.time" \
  "$build/bench/formulon-startup-bench" --explain 2 --explain-long 2>/dev/null |
  grep -E '^explain_long' | tr '\n' ' '
echo
grep -E 'Maximum resident' "$scratch/long.time"

echo
# "Тренировка" opened after start-up (the first opening builds it), answers
# of tasks 1 to 5 and 10 typed a key every 150 ms: each key to the answer
# box's repaint, the last key to the preview, and the peak memory.
echo "== Practice (formulon-startup-bench --practice, 3 runs)"
for _ in 1 2 3; do
  rm -rf "$scratch/share"
  QT_QPA_PLATFORM=offscreen "$build/bench/formulon-startup-bench" --practice 2>/dev/null |
    grep -E '^(practice|peak)'
  echo
done

echo
# One start-up run per platform plugin: offscreen always; the X11 plugin under
# Xvfb as well when xvfb-run is installed (a real display server round trip).
startup() {
  local label=$1; shift
  echo
  echo "== Start-up to the first frame of the main window: $label ($runs runs)"
  # One run first so the font cache is built; it is not counted.
  "$@" "$build/bench/formulon-startup-bench" >/dev/null
  : >"$scratch/main.ms"; : >"$scratch/exec.ms"; : >"$scratch/wall.ms"; : >"$scratch/rss.kb"
  for _ in $(seq "$runs"); do
    local begin end out
    begin=$(date +%s%N)
    out=$("$@" /usr/bin/time -v -o "$scratch/startup.time" "$build/bench/formulon-startup-bench")
    end=$(date +%s%N)
    awk '/^main/ {print $2}' <<<"$out" >>"$scratch/main.ms"
    awk -v begin="$begin" '/^frame_ns/ {printf "%.2f\n", ($2 - begin) / 1e6}' <<<"$out" >>"$scratch/exec.ms"
    awk -v begin="$begin" -v end="$end" 'BEGIN {printf "%.2f\n", (end - begin) / 1e6}' >>"$scratch/wall.ms"
    awk -F': ' '/Maximum resident/ {print $2}' "$scratch/startup.time" >>"$scratch/rss.kb"
  done
  printf 'main() to first frame:          median %s ms  (range %s)\n' \
    "$(median "$scratch/main.ms")" "$(range "$scratch/main.ms")"
  printf 'launch to first frame:          median %s ms  (range %s)\n' \
    "$(median "$scratch/exec.ms")" "$(range "$scratch/exec.ms")"
  printf 'whole run, launch to exit:      median %s ms  (range %s)\n' \
    "$(median "$scratch/wall.ms")" "$(range "$scratch/wall.ms")"
  printf 'peak memory (max RSS):          median %s MB  (range %s kB)\n' \
    "$(awk '{printf "%.1f\n", $1 / 1024}' "$scratch/rss.kb" | median /dev/stdin)" "$(range "$scratch/rss.kb")"
}

median() { sort -g "$1" | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
range() { sort -g "$1" | awk 'NR == 1 {lo = $1} {hi = $1} END {print lo " .. " hi}'; }

QT_QPA_PLATFORM=offscreen startup "offscreen" env
if command -v xvfb-run >/dev/null; then
  # "launch" here includes xvfb-run starting the X server, so only main()
  # to the first frame and the memory compare with the offscreen run.
  QT_QPA_PLATFORM=xcb startup "X11 under Xvfb" xvfb-run -a -s "-screen 0 1024x768x24"
fi
