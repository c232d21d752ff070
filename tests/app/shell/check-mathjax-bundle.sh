#!/usr/bin/env bash
# Builds the MathJax bundle from tools/mathjax's locked packages into a
# scratch folder and compares it byte for byte with the committed one.
# Usage: check-mathjax-bundle.sh SOURCE_DIR WORK_DIR
# Exits 77 (skipped) without node and npm, or when npm cannot reach its
# registry; any other failure fails the check.
set -euo pipefail

source_dir=$1
work=$2
committed="$source_dir/resources/mathjax/mathjax-svg.js"

for tool in node npm; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed, so the bundle cannot be rebuilt"
    exit 77
  fi
done

mkdir -p "$work"
# Install again only when the locked packages changed.
if ! cmp -s "$source_dir/tools/mathjax/package-lock.json" "$work/package-lock.json" ||
   [ ! -d "$work/node_modules" ]; then
  rm -rf "$work/node_modules"
  cp "$source_dir/tools/mathjax/package.json" "$source_dir/tools/mathjax/package-lock.json" "$work/"
  if ! (cd "$work" && npm ci --ignore-scripts --no-audit --no-fund) >"$work/npm.log" 2>&1; then
    cat "$work/npm.log"
    if grep -Eq 'ENOTFOUND|EAI_AGAIN|ECONNREFUSED|ECONNRESET|ETIMEDOUT|ENETUNREACH' "$work/npm.log"; then
      echo "SKIPPED: npm cannot reach its registry to install the locked packages"
      rm -f "$work/package-lock.json"
      exit 77
    fi
    rm -f "$work/package-lock.json"
    echo "FAILED: npm ci of tools/mathjax's locked packages"
    exit 1
  fi
fi

NODE_MODULES="$work/node_modules" node "$source_dir/tools/mathjax/build.js" "$work/mathjax-svg.js"
if ! cmp "$committed" "$work/mathjax-svg.js"; then
  echo "FAILED: resources/mathjax/mathjax-svg.js differs from what tools/mathjax/build.js builds;"
  echo "rebuild it with: (cd tools/mathjax && npm ci && node build.js)"
  exit 1
fi
echo "The committed bundle is the one tools/mathjax builds."
