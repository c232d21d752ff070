#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs
# each for a bounded time. Fails on any crash, leak, sanitizer report or an
# input that takes more than a second. FUZZ_SECONDS sets the time per target,
# FUZZ_BUILD_DIR the build folder (build-fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
build="${FUZZ_BUILD_DIR:-build-fuzz}"
# The champions target reads the file through the Qt part of the program, so
# the GUI libraries are built too (only the targets below are compiled).
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFORMULON_FUZZ=ON -DFORMULON_BUILD_GUI=ON -DFORMULON_BUILD_TESTS=OFF \
  -DFORMULON_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_formula_value fuzz_number_text \
  fuzz_tex_formula fuzz_champions_file champions_seeds

# No display is needed; Qt must not look for one.
export QT_QPA_PLATFORM=offscreen
# Every sanitizer report is fatal; leaks are checked at exit.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

root=$PWD
failed=0

# run <target> <corpus folder> <max input length> [dictionary]
run() {
  local target=$1 corpus=$2 max_len=$3 dict=${4:-}
  local work
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$corpus/." "$work/"
  if [ "$target" = fuzz_champions_file ]; then
    "$build/tests/fuzz/champions_seeds" "$work"
  fi
  local args=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048
              -max_len="$max_len" -artifact_prefix="$root/$build/$target-")
  [ -n "$dict" ] && args+=(-dict="$root/tests/fuzz/$dict")
  echo "Fuzzing $target for ${seconds}s"
  local log="$build/$target.log"
  if ! "$build/tests/fuzz/$target" "${args[@]}" "$work" >"$log" 2>&1; then
    cat "$log"
    echo "$target found a failing input; it is saved in $build as $target-*"
    failed=1
  else
    tail -n 1 "$log"
  fi
  rm -rf "$work"
}

run fuzz_formula_value formula 4096 formula.dict
run fuzz_number_text number 4096 number.dict
run fuzz_tex_formula formula 4096 formula.dict
# Room for the whole 8704-byte file after the mode byte.
run fuzz_champions_file champions 9000 champions.dict
exit "$failed"
