#!/usr/bin/env bash
# Builds the Debian package twice from a configured and built build folder,
# the second time under another umask and a later clock, and fails unless
# the two are byte for byte the same. The first one is left in <out folder>
# for the package tests that follow.
# Usage: packaging/reproducible-package.sh <build folder> <out folder>
set -euo pipefail

build=$(cd "${1:?usage: reproducible-package.sh <build folder> <out folder>}" && pwd)
out=${2:?usage: reproducible-package.sh <build folder> <out folder>}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One package into the folder $1, with umask $2.
package() {
  (umask "$2" && cd "$build" && cpack -G DEB -B "$1" >"$1.log" 2>&1) || {
    cat "$1.log"; echo "FAIL: cpack"; exit 1; }
  local deb
  deb=$(find "$1" -maxdepth 1 -name 'formulon_*.deb')
  [ -n "$deb" ] && [ "$(wc -l <<<"$deb")" -eq 1 ] || {
    cat "$1.log"; echo "FAIL: cpack made no single formulon_*.deb"; exit 1; }
  echo "$deb"
}

first=$(package "$scratch/first" 022)
sleep 1
second=$(package "$scratch/second" 077)
sha256sum "$first" "$second"
if ! cmp -s "$first" "$second"; then
  echo "FAIL: two builds of the same sources differ"
  if command -v diffoscope >/dev/null; then diffoscope "$first" "$second" || true; fi
  exit 1
fi

rm -rf "$out"
mkdir -p "$out"
cp "$first" "$out/"
echo "package reproducible: $(basename "$first")"
