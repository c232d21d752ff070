#!/usr/bin/env bash
# Start-up of the program against a bare Qt Widgets window, measured in
# pairs: each round starts both, alternating which goes first (A B, then
# B A), so that a change in the machine's load falls on both alike. Prints
# each one's medians and their ratios; it never fails on a time.
#
#   bench/startup-pairs.sh BUILD_DIR [RUNS]
#
# Runs on whatever platform QT_QPA_PLATFORM and DISPLAY name (the caller
# sets them; run-benchmarks.sh does it for offscreen and for X11 under
# Xvfb). With INSTRUCTIONS=1 and valgrind installed it also counts each
# program's instructions once under callgrind, which the load does not
# disturb.
set -euo pipefail

build=${1:?usage: startup-pairs.sh BUILD_DIR [RUNS]}
runs=${2:-15}
measure="$build/bench/formulon-measure-run"
programs=("$build/bench/formulon-startup-bench" "$build/bench/formulon-bare-window")
names=(formulon bare)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A fresh user: no champions file (so no message box) and no settings.
export HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/share" \
  XDG_CONFIG_HOME="$scratch/home/config" XDG_CACHE_HOME="$scratch/home/cache" \
  XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

median() { sort -g "$1" | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }
range() { sort -g "$1" | awk 'NR == 1 {lo = $1} {hi = $1} END {print lo " .. " hi}'; }

# One start: appends its figures to the program's files.
run_once() {
  local index=$1 name=${names[$1]} out
  if ! out=$("$measure" "${programs[$index]}" 2>"$scratch/$name.err"); then
    echo "$name failed:" >&2
    cat "$scratch/$name.err" >&2
    exit 1
  fi
  awk '/^main / {print $2}' <<<"$out" >>"$scratch/$name.main"
  awk '/^spawn_ns / {s = $2} /^frame_ns / {f = $2} END {printf "%.2f\n", (f - s) / 1e6}' \
    <<<"$out" >>"$scratch/$name.frame"
  awk '/^wall_ms / {print $2}' <<<"$out" >>"$scratch/$name.wall"
  awk '/^cpu_ms / {print $2}' <<<"$out" >>"$scratch/$name.cpu"
  awk '/^maxrss_kb / {printf "%.1f\n", $2 / 1024}' <<<"$out" >>"$scratch/$name.rss"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
# One uncounted start each, so that both find the font cache and the
# libraries warm.
run_once 0 && run_once 1
for name in "${names[@]}"; do
  for kind in main frame wall cpu rss; do : >"$scratch/$name.$kind"; done
done
for round in $(seq "$runs"); do
  if ((round % 2)); then run_once 0 && run_once 1; else run_once 1 && run_once 0; fi
done
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"

report() {
  local kind=$1 unit=$2 label=$3 a b
  a=$(median "$scratch/formulon.$kind")
  b=$(median "$scratch/bare.$kind")
  printf '%-28s formulon %8s %s (%s)   bare %8s %s (%s)   ratio %s\n' "$label" "$a" "$unit" \
    "$(range "$scratch/formulon.$kind")" "$b" "$unit" "$(range "$scratch/bare.$kind")" \
    "$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2f", a / b}')"
}
echo "medians of $runs paired starts (range):"
report wall ms "launch to exit"
report frame ms "launch to first frame"
report main ms "main() to first frame"
report cpu ms "processor time (user+sys)"
report rss MiB "peak memory (max RSS)"

if [[ ${INSTRUCTIONS:-0} == 1 ]] && command -v valgrind >/dev/null; then
  for index in 0 1; do
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "${programs[$index]}" \
      >/dev/null 2>"$scratch/${names[$index]}.callgrind" || true
    awk '/Collected/ {print $NF}' "$scratch/${names[$index]}.callgrind" \
      >"$scratch/${names[$index]}.ir"
  done
  a=$(cat "$scratch/formulon.ir")
  b=$(cat "$scratch/bare.ir")
  printf '%-28s formulon %s   bare %s   ratio %s\n' "instructions (callgrind)" "$a" "$b" \
    "$(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2f", a / b}')"
fi
