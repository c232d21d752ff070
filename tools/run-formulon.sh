#!/usr/bin/env bash
# Installs what is missing, builds Formulon in release mode and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DFORMULON_BUILD_TESTS=OFF \
      -DFORMULON_BUILD_BENCH=OFF
cmake --build build-release -j2
exec build-release/app/formulon
