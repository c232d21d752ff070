#!/usr/bin/env bash
# The README's commands and their installer answer --help and refuse an
# unknown argument before they install, build or run anything.
# Usage: check-script-arguments.sh SOURCE_DIR
set -euo pipefail

source_dir=$1
failures=0

# script, arguments, expected exit status, a part of what it prints
while IFS='|' read -r script arguments status part; do
  output=$("$source_dir/tools/$script" $arguments 2>&1) && actual=0 || actual=$?
  if [ "$actual" -ne "$status" ] || ! grep -qF -- "$part" <<<"$output"; then
    echo "FAIL: $script $arguments: exit $actual (expected $status), printed:"
    echo "$output"
    failures=$((failures + 1))
  fi
done <<'ROWS'
run-formulon.sh|--help|0|Usage: tools/run-formulon.sh
run-formulon.sh|--bogus|2|unknown argument '--bogus'
run-formulon.sh|build|2|unknown argument 'build'
run-tests.sh|--help|0|Usage: tools/run-tests.sh
run-tests.sh|--bogus|2|unknown argument '--bogus'
install-deps.sh|--help|0|--test
install-deps.sh|--run|2|unknown argument '--run'
ROWS

[ "$failures" -eq 0 ] || exit 1
echo "every script answers --help and refuses an unknown argument"
