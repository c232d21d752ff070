#!/usr/bin/env bash
# Installs what building and running need, builds Formulon in release mode
# and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

for arg in "$@"; do
  case $arg in
    -h | --help)
      cat <<'USAGE'
Usage: tools/run-formulon.sh
Installs the Debian packages that building and running Formulon need (no
test tools), builds it in build-release and starts it.
USAGE
      exit 0 ;;
    *) echo "run-formulon.sh: unknown argument '$arg' (try --help)" >&2; exit 2 ;;
  esac
done

tools/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DFORMULON_BUILD_TESTS=OFF \
      -DFORMULON_BUILD_BENCH=OFF
cmake --build build-release -j2
exec build-release/app/formulon
