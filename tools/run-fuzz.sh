#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UBSan) and runs
# each for a bounded time. Fails on any crash, leak, sanitizer report or an
# input that takes more than a second. FUZZ_SECONDS sets the time per target.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DFORMULON_FUZZ=ON -DFORMULON_BUILD_GUI=OFF -DFORMULON_BUILD_TESTS=OFF \
  -DFORMULON_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2

run() {
  local target=$1 corpus=$2 dict=$3
  local work
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$corpus/." "$work/"
  echo "Fuzzing $target for ${seconds}s"
  local log="$build/$target.log"
  if ! (cd "$build" && "./tests/fuzz/$target" -max_total_time="$seconds" -timeout=1 \
      -rss_limit_mb=2048 -max_len=4096 -dict="../tests/fuzz/$dict" \
      -artifact_prefix="./$target-" "$work") >"$log" 2>&1; then
    cat "$log"
    echo "$target found a failing input; it is saved in $build as $target-*"
    rm -rf "$work"
    return 1
  fi
  tail -n 1 "$log"
  rm -rf "$work"
}

run fuzz_formula_value formula formula.dict
run fuzz_number_text number number.dict
