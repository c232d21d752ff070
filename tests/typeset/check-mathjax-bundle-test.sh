#!/usr/bin/env bash
# The MathJax bundle check skips whenever npm cannot fetch, and fails only
# for the project's own faults: driven through stand-ins for npm and node
# that play each case, and once through the real npm against a registry
# that refuses every connection.
# Usage: check-mathjax-bundle-test.sh SOURCE_DIR
set -euo pipefail

source_dir=$1
check="$source_dir/tests/typeset/check-mathjax-bundle.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fake="$scratch/bin"
mkdir -p "$fake"
cat >"$fake/npm" <<'NPM'
#!/bin/sh
# npm ci: fails with the row's error code, or installs nothing real.
if [ -n "$FAKE_NPM_ERROR" ]; then
  echo "npm error code $FAKE_NPM_ERROR"
  exit 1
fi
mkdir -p node_modules
NPM
cat >"$fake/node" <<'NODE'
#!/bin/sh
# node --version, or node build.js OUTPUT building the row's bundle.
if [ "$1" = --version ]; then echo "$FAKE_NODE_VERSION"; exit 0; fi
case $FAKE_BUILD in
  committed) cp "$COMMITTED" "$2" ;;
  other) echo 'var changed;' >"$2" ;;
  *) exit 1 ;;
esac
NODE
chmod +x "$fake/npm" "$fake/node"

# npm error code | node version | build | expected status | a part of the output
row=0
while IFS='|' read -r error version build status part; do
  row=$((row + 1))
  output=$(PATH="$fake:$PATH" FAKE_NPM_ERROR=$error FAKE_NODE_VERSION=$version FAKE_BUILD=$build \
    COMMITTED="$source_dir/resources/mathjax/mathjax-svg.js" \
    "$check" "$source_dir" "$scratch/work-$row" 2>&1) && actual=0 || actual=$?
  if [ "$actual" -ne "$status" ] || ! grep -qF -- "$part" <<<"$output"; then
    echo "FAIL: row $row ($error|$version|$build): exit $actual, expected $status, printed:"
    echo "$output"
    failures=$((failures + 1))
  fi
done <<'ROWS'
ECONNREFUSED|v18.19.0|committed|77|SKIPPED: npm could not fetch tools/mathjax's locked packages (code ECONNREFUSED)
SELF_SIGNED_CERT_IN_CHAIN|v20.1.0|committed|77|(code SELF_SIGNED_CERT_IN_CHAIN)
E407|v18.19.0|committed|77|(code E407)
UNABLE_TO_GET_ISSUER_CERT_LOCALLY|v18.19.0|committed|77|SKIPPED
EUSAGE|v18.19.0|committed|1|FAILED: tools/mathjax/package-lock.json does not match
|v16.20.0|committed|77|SKIPPED: esbuild needs Node.js 18 or later
|v18.19.0|committed|0|The committed bundle is the one tools/mathjax builds.
|v18.19.0|other|1|FAILED: resources/mathjax/mathjax-svg.js differs
|v18.19.0|fail|1|FAILED: tools/mathjax/build.js did not build
ROWS

# The real npm against a registry nobody listens at, with an empty cache so
# that nothing fetched before can stand in.
if command -v npm >/dev/null && command -v node >/dev/null; then
  output=$(npm_config_registry=http://127.0.0.1:9/ npm_config_cache="$scratch/npm-cache" \
    npm_config_fetch_retries=0 "$check" "$source_dir" "$scratch/work-real" 2>&1) &&
    actual=0 || actual=$?
  if [ "$actual" -ne 77 ] || ! grep -qF 'SKIPPED: npm could not fetch' <<<"$output"; then
    echo "FAIL: an unreachable registry: exit $actual, expected 77, printed:"
    echo "$output"
    failures=$((failures + 1))
  fi
else
  echo "node or npm is not installed: the real npm was not tried"
fi

[ "$failures" -eq 0 ] || exit 1
echo "the bundle check skips when npm cannot fetch and fails only on the project's faults"
