#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs
# each for a bounded time. Fails on any crash, leak, sanitizer report or an
# input that takes more than a second. FUZZ_SECONDS sets the time per target
# (30), FUZZ_BUILD_DIR the build folder: absolute, or relative to the current
# folder (default build-fuzz in the source tree).
# Exit status: 0 clean, 1 a target found a failing input, 2 the run could not
# be set up (configure, build, corpus or a fuzzer that would not start).
set -uo pipefail

setup_failed() {
  echo "Fuzzing setup failed: $*" >&2
  exit 2
}

seconds="${FUZZ_SECONDS:-30}"
case "$seconds" in
  '' | *[!0-9]*) setup_failed "FUZZ_SECONDS must be a whole number of seconds, not '$seconds'" ;;
esac
build="${FUZZ_BUILD_DIR:-}"
if [ -n "$build" ] && [ "${build#/}" = "$build" ]; then
  build="$PWD/$build"
fi
cd "$(dirname "$0")/.." || setup_failed "cannot enter the source tree"
root=$PWD
build="${build:-$root/build-fuzz}"

# The champions target reads the file through the champions library (Qt), so
# the GUI libraries are built too (only the targets below are compiled).
cmake --preset fuzzing -B "$build" >/dev/null || setup_failed "cmake could not configure $build"
cmake --build "$build" -j2 --target fuzz_formula_value fuzz_number_text \
  fuzz_tex_formula fuzz_class_file fuzz_explanation fuzz_task_set fuzz_champions_file \
  fuzz_practice_file \
  champions_seeds || setup_failed "the fuzz targets did not build in $build"

# No display is needed; Qt must not look for one.
export QT_QPA_PLATFORM=offscreen
# Every sanitizer report is fatal; leaks are checked at exit.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

found=0

# run <target> <corpus folder> <max input length> [dictionary]
run() {
  local target=$1 corpus=$2 max_len=$3 dict=${4:-}
  local work
  work=$(mktemp -d) || setup_failed "no temporary corpus folder"
  cp -r "tests/fuzz/corpus/$corpus/." "$work/" || setup_failed "corpus $corpus missing"
  if [ "$target" = fuzz_champions_file ]; then
    "$build/tests/fuzz/champions_seeds" "$work" || setup_failed "champions seeds not written"
  fi
  local args=(-max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048
              -max_len="$max_len" -artifact_prefix="$build/$target-")
  [ -n "$dict" ] && args+=(-dict="$root/tests/fuzz/$dict")
  echo "Fuzzing $target for ${seconds}s"
  local log="$build/$target.log"
  if "$build/tests/fuzz/$target" "${args[@]}" "$work" >"$log" 2>&1; then
    tail -n 1 "$log"
  elif grep -q 'Test unit written to' "$log"; then
    # libFuzzer names every saved finding (crash, leak, timeout, memory).
    cat "$log"
    echo "$target found a failing input; it is saved in $build as $target-*"
    found=1
  else
    cat "$log"
    rm -rf "$work"
    setup_failed "$target stopped without saving an input (see $log)"
  fi
  rm -rf "$work"
}

run fuzz_formula_value formula 4096 formula.dict
run fuzz_number_text number 4096 number.dict
run fuzz_tex_formula formula 4096 formula.dict
run fuzz_class_file class 4096 class.dict
# Each input is explained against all thirty tasks, so inputs stay short
# enough to be explained thirty times within the second.
run fuzz_explanation formula 256 formula.dict
# Sets of a few lines: each formula is evaluated and read as school
# mathematics, so longer inputs would not be checked within the second.
run fuzz_task_set task-set 4096 task-set.dict
# Room for the whole 8704-byte file after the mode byte.
run fuzz_champions_file champions 9000 champions.dict
run fuzz_practice_file practice 2048 practice.dict
exit "$found"
