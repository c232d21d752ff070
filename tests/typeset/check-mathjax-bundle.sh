#!/usr/bin/env bash
# Builds the MathJax bundle from tools/mathjax's locked packages into a
# scratch folder and compares it byte for byte with the committed one.
# Usage: check-mathjax-bundle.sh SOURCE_DIR WORK_DIR
# Exits 77 (skipped), saying why, without node and npm, with a Node.js too
# old for esbuild, or whenever npm cannot fetch the locked packages,
# whatever the cause (no network, DNS, a proxy, a TLS certificate, an HTTP
# status). Fails when the locked packages do not match package.json, when
# the fetched packages do not build, or when the bundle differs.
set -euo pipefail

source_dir=$1
work=$2
committed="$source_dir/resources/mathjax/mathjax-svg.js"

skip() {
  echo "SKIPPED: $*"
  exit 77
}

for tool in node npm; do
  command -v "$tool" >/dev/null || skip "$tool is not installed, so the bundle cannot be rebuilt"
done
node_major=$(node --version | sed -E 's/^v([0-9]+).*/\1/')
[[ $node_major =~ ^[0-9]+$ ]] && [ "$node_major" -ge 18 ] ||
  skip "esbuild needs Node.js 18 or later, this is $(node --version)"

# One more try on a failed fetch, not npm's usual two, so that a network
# that drops everything costs little; the caller's setting wins.
export npm_config_fetch_retries=${npm_config_fetch_retries:-1}

mkdir -p "$work"
# Install again only when the locked packages changed.
if ! cmp -s "$source_dir/tools/mathjax/package-lock.json" "$work/package-lock.json" ||
   [ ! -d "$work/node_modules" ]; then
  rm -rf "$work/node_modules"
  cp "$source_dir/tools/mathjax/package.json" "$source_dir/tools/mathjax/package-lock.json" "$work/"
  if ! (cd "$work" && npm ci --ignore-scripts --no-audit --no-fund) >"$work/npm.log" 2>&1; then
    rm -f "$work/package-lock.json"
    cat "$work/npm.log"
    # The one failure that is the project's own: a lock out of step.
    if grep -q 'code EUSAGE' "$work/npm.log"; then
      echo "FAILED: tools/mathjax/package-lock.json does not match its package.json"
      exit 1
    fi
    reason=$(grep -m1 -E '^npm (ERR!|error) code ' "$work/npm.log" | sed -E 's/^npm (ERR!|error) //' || true)
    skip "npm could not fetch tools/mathjax's locked packages (${reason:-see above}), so the bundle cannot be rebuilt"
  fi
fi

if ! NODE_MODULES="$work/node_modules" node "$source_dir/tools/mathjax/build.js" "$work/mathjax-svg.js"; then
  echo "FAILED: tools/mathjax/build.js did not build the bundle from the locked packages"
  exit 1
fi
if ! cmp "$committed" "$work/mathjax-svg.js"; then
  echo "FAILED: resources/mathjax/mathjax-svg.js differs from what tools/mathjax/build.js builds;"
  echo "rebuild it with: (cd tools/mathjax && npm ci && node build.js)"
  exit 1
fi
echo "The committed bundle is the one tools/mathjax builds."
