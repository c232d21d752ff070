#!/usr/bin/env bash
# Builds Release in build-release and measures: FormulaValue on the reference
# formulas and the longest answers (formulon-bench), a class marked
# (formulon-class-bench, formulon-eval --class --html), the formula typesetter,
# "Разбор ответа", and the program's start-up to its first frame against a
# bare Qt Widgets window (bench/startup-pairs.sh: paired starts, medians,
# ratios). Prints figures only; it never fails on a time.
# STARTUP_RUNS sets the number of paired start-ups (default 15).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-release
runs="${STARTUP_RUNS:-15}"
cmake --preset release >/dev/null
cmake --build "$build" -j2 --target formulon-bench formulon-startup-bench formulon \
  formulon-typeset-bench formulon-taskset-bench formulon-bare-window formulon-measure-run formulon-class-bench \
  formulon-eval

echo "== Machine"
echo "cores: $(nproc)"
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "kernel: $(uname -r)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

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
# A class of thirty pupils' 900 answers marked with its CSV table and HTML
# report: in this process (eleven runs), then by the real command, a fresh
# process each time, from the start to the report and the table written.
echo "== A class marked (formulon-class-bench; formulon-eval --class --html, 5 runs)"
"$build/bench/formulon-class-bench"
"$build/bench/formulon-class-bench" --write "$scratch/class.csv"
for _ in 1 2 3 4 5; do
  LANG=ru_RU.UTF-8 "$build/bench/formulon-measure-run" "$build/tools/formulon-eval" \
    --class "$scratch/class.csv" --html "$scratch/class.html" >"$scratch/class.out"
  grep -E '^(wall_ms|cpu_ms|maxrss_kb)' "$scratch/class.out" | tr '\n' ' '
  echo
done

echo
# The formula typesetter in fresh processes, so each run loads MathJax anew.
echo "== Formula typesetter (formulon-typeset-bench, 3 runs)"
for _ in 1 2 3; do
  QT_QPA_PLATFORM=offscreen /usr/bin/time -v -o "$scratch/typeset.time" \
    "$build/bench/formulon-typeset-bench"
  grep -E 'Maximum resident' "$scratch/typeset.time"
done

echo
# A teacher's set of thirty variants: its pictures at the first load (fresh
# cache, MathJax loaded with it) and from the cache.
echo "== Task set pictures (formulon-taskset-bench, 3 runs at ratio 1, 1 at 2)"
for ratio in 1 1 1 2; do
  QT_QPA_PLATFORM=offscreen "$build/bench/formulon-taskset-bench" "$ratio"
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
# Start-up against the bare window, in pairs: offscreen always; the X11
# plugin under one Xvfb server as well when xvfb-run is installed (a real
# display server's round trips, the server started once, before the runs).
echo "== Start-up to the first frame against a bare window: offscreen ($runs pairs)"
QT_QPA_PLATFORM=offscreen INSTRUCTIONS=1 bench/startup-pairs.sh "$build" "$runs"
if command -v xvfb-run >/dev/null; then
  echo
  echo "== Start-up to the first frame against a bare window: X11 under Xvfb ($runs pairs)"
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
    bench/startup-pairs.sh "$build" "$runs"
fi
