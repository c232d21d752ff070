#!/usr/bin/env bash
# Builds the Debian package from a configured build folder, unpacks it into a
# scratch root (dpkg -x) and checks what a desktop user would get: the
# program and its libraries, the menu entry, the metainfo, the icons and the
# package's dependencies.
# Usage: packaging/check-package.sh <build folder>
set -euo pipefail

build=$(cd "${1:?usage: check-package.sh <build folder>}" && pwd)
id=org.example.formulon
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || {
  cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(find "$scratch/out" -maxdepth 1 -name 'formulon_*.deb' | head -n 1)
[ -n "$deb" ] || { cat "$scratch/cpack.log"; echo "FAIL: no formulon_*.deb"; exit 1; }
echo "package: $(basename "$deb")"
case "$(basename "$deb")" in
  formulon_1.0_amd64.deb | formulon_1.0_*.deb) ;;
  *) fail "unexpected package file name $(basename "$deb")" ;;
esac

# Dependencies: Qt 6, libjpeg and the fonts the windows fall back to.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo \
               fonts-liberation fonts-dejavu-core fonts-comfortaa; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Package)" = formulon ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = 1.0 ] || fail "version"

root="$scratch/root"
dpkg -x "$deb" "$root"

# The program: present, executable, every library found, no path into the
# build tree left in it.
program="$root/usr/bin/formulon"
if [ -x "$program" ]; then
  if ldd "$program" | grep -q 'not found'; then
    ldd "$program"; fail "unresolved libraries"
  fi
  if readelf -d "$program" | grep -Eq 'RPATH|RUNPATH'; then
    readelf -d "$program" | grep -E 'RPATH|RUNPATH'; fail "build-tree run path left in the program"
  fi
else
  fail "usr/bin/formulon missing or not executable"
fi

desktop="$root/usr/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  for line in "Exec=formulon" "Icon=$id" "Categories=Education;Math;" "Name=Formulon" \
              "Comment=Тренажёр записи математических формул на языке BASIC"; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
  done
else
  fail "desktop entry missing"
fi

metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch the desktop entry"
else
  fail "metainfo missing"
fi

icons="$root/usr/share/icons/hicolor"
for size in 16 32 48 64 128 256; do
  icon="$icons/${size}x${size}/apps/$id.png"
  if [ -f "$icon" ]; then
    file -b "$icon" | grep -q "PNG image data, $size x $size" ||
      fail "$icon is not a $size x $size PNG: $(file -b "$icon")"
  else
    fail "icon ${size}x${size} missing"
  fi
done
svg="$icons/scalable/apps/$id.svg"
[ -f "$svg" ] && grep -q '<svg' "$svg" || fail "scalable icon missing or not SVG"

# Nothing outside /usr, nothing from the build or test tree.
unexpected=$(cd "$root" && find . -type f | grep -vE '^\./usr/(bin/formulon|share/(applications|metainfo|icons/hicolor)/)' || true)
[ -z "$unexpected" ] || fail "unexpected files in the package: $unexpected"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package contents OK"
