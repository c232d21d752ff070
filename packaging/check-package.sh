#!/usr/bin/env bash
# Checks what a desktop user would get from the Debian package: unpacked
# into a scratch root (dpkg -x), the two programs and their libraries, the
# modules (the formula typesetter's MathJax, Qt SVG's drawing), the menu
# entry, the metainfo, the icons, the manual pages, the copyright file, the
# changelog and the package's dependencies, all of one version.
# Given a build folder instead of a package, it builds the package first.
# Usage: packaging/check-package.sh <package.deb | build folder> <version>
set -euo pipefail
# Where grep reads a pipe it reads to the end (>/dev/null, not -q): under
# pipefail a writer cut off by grep -q's early exit dies of SIGPIPE and fails
# the whole check, or hides what it looked for, by chance of timing.

usage="usage: check-package.sh <package.deb | build folder> <version>"
given=${1:?$usage}
version=${2:?$usage}
id=org.example.formulon
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ -d "$given" ]; then
  (cd "$given" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || {
    cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
  deb=$(find "$scratch/out" -maxdepth 1 -name 'formulon_*.deb' | head -n 1)
else
  deb=$given
fi
[ -n "$deb" ] && [ -f "$deb" ] || { echo "FAIL: no formulon_*.deb"; exit 1; }
echo "package: $(basename "$deb")"
case "$(basename "$deb")" in
  "formulon_${version}_amd64.deb" | "formulon_${version}_"*.deb) ;;
  *) fail "unexpected package file name $(basename "$deb")" ;;
esac

# Dependencies: Qt 6 (Qt Qml for the MathJax module, Qt SVG for the SVG
# module) with its Russian texts and platform plugins, libjpeg and the fonts
# the windows fall back to.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6gui6 libqt6core6 libqt6qml6 libqt6svg6 libjpeg62-turbo \
               fonts-liberation fonts-dejavu-core fonts-comfortaa qt6-translations-l10n \
               qt6-qpa-plugins; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Package)" = formulon ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"

root="$scratch/root"
dpkg -x "$deb" "$root"

# The programs and the modules, which the program loads from
# ../lib/formulon/modules beside its own folder: present, every library found, no
# path into the build tree left in them.
module="$root/usr/lib/formulon/modules/libformulon_mathjax.so"
svgmodule="$root/usr/lib/formulon/modules/libformulon_svg.so"
lintmodule="$root/usr/lib/formulon/modules/libformulon_lint.so"
for program in "$root/usr/bin/formulon" "$root/usr/bin/formulon-eval" "$module" "$svgmodule" \
  "$lintmodule"; do
  name=${program#"$root"/}
  if [ -f "$program" ]; then
    if ldd "$program" | grep 'not found' >/dev/null; then
      ldd "$program"; fail "unresolved libraries in $name"
    fi
    if readelf -d "$program" | grep -E 'RPATH|RUNPATH' >/dev/null; then
      readelf -d "$program" | grep -E 'RPATH|RUNPATH'; fail "build-tree run path left in $name"
    fi
  else
    fail "$name missing"
  fi
done
for name in formulon formulon-eval; do
  [ -x "$root/usr/bin/$name" ] || fail "usr/bin/$name is not executable"
done
# Qt Qml and Qt SVG only in their modules, loaded with the first formula or
# the first picture drawn from SVG, never at start.
if ldd "$root/usr/bin/formulon" | grep -i libQt6Qml >/dev/null; then
  fail "usr/bin/formulon loads Qt Qml at start"
fi
if ldd "$root/usr/bin/formulon" | grep -i libQt6Svg >/dev/null; then
  fail "usr/bin/formulon loads Qt SVG at start"
fi
# grep -c reads to the end: an early exit would break nm's pipe under pipefail.
if [ -f "$module" ] && [ "$(nm -D --defined-only "$module" | grep -c ' formulonCreateMathJax')" = 0 ]; then
  fail "the MathJax module exports no factory"
fi
if [ -f "$svgmodule" ] && [ "$(nm -D --defined-only "$svgmodule" | grep -c ' formulonSvgDrawing')" = 0 ]; then
  fail "the SVG module exports no factory"
fi
# The console tool starts without Qt; only --lint loads its picture module.
if ldd "$root/usr/bin/formulon-eval" | grep -i libQt6 >/dev/null; then
  fail "usr/bin/formulon-eval loads Qt at start"
fi
if [ -f "$lintmodule" ] && [ "$(nm -D --defined-only "$lintmodule" | grep -c ' formulonCheckPictures')" = 0 ]; then
  fail "the picture check module exports no factory"
fi
eval="$root/usr/bin/formulon-eval"
if [ -x "$eval" ]; then
  [ "$("$eval" --version)" = "formulon-eval $version" ] || fail "formulon-eval --version"
  [ "$(printf '2^10\n' | "$eval")" = "$(printf 'OK\t1024\t')" ] || fail "formulon-eval does not evaluate"
  [ "$(printf 'SIN(Y-Z)\n' | "$eval" --check 1.1 | tail -n 1)" = "# 1 of 1 right" ] ||
    fail "formulon-eval does not judge answers"
  printf 'Оля;1.1;SIN(Y-Z)\n' | LC_ALL=C "$eval" --class | grep '^Оля,1.1,SIN(Y-Z),right,' >/dev/null ||
    fail "formulon-eval does not mark a class"
  LC_ALL=C "$eval" --lint "$root/usr/share/formulon/tasks/example.tasks" >/dev/null ||
    fail "the example task set is missing or formulon-eval --lint warns of it"
fi

# A gzip file made reproducibly (gzip -n): no file name, no time stamp.
reproducible_gzip() {
  gzip -t "$1" 2>/dev/null || return 1
  local header
  header=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
  [ "${header:0:6}" = 1f8b08 ] && [ $((0x${header:6:2} & 8)) -eq 0 ] && [ "${header:8:8}" = 00000000 ]
}

doc="$root/usr/share/doc/formulon"
for page in man6/formulon.6 man1/formulon-eval.1 ru/man6/formulon.6 ru/man1/formulon-eval.1; do
  file="$root/usr/share/man/$page.gz"
  if [ -f "$file" ]; then
    reproducible_gzip "$file" || fail "$page.gz is not gzipped with -n"
    name=${page##*/}
    zcat "$file" | grep "^\.TH \"${name%.*}\" \"${name##*.}\"" >/dev/null ||
      fail "$page has no title line"
  else
    fail "manual page $page missing"
  fi
done
# roff guards a dot that might start a request with \&.
zcat "$root/usr/share/man/man6/formulon.6.gz" 2>/dev/null | sed 's/\\&//g' |
  grep '~/\.local/share/Formulon/\.camp\.cam' >/dev/null ||
  fail "formulon(6) does not name the champions file"
zcat "$root/usr/share/man/ru/man6/formulon.6.gz" 2>/dev/null | grep 'Разбор ответа' >/dev/null ||
  fail "the Russian formulon(6) does not describe \"Разбор ответа\""
for page in man1 ru/man1; do
  for option in --trace --check --class --html --encoding --tasks --set --lint; do
    zcat "$root/usr/share/man/$page/formulon-eval.1.gz" 2>/dev/null | grep -- "$option" >/dev/null ||
      fail "$page/formulon-eval(1) does not describe $option"
  done
done

if [ -f "$doc/changelog.gz" ]; then
  reproducible_gzip "$doc/changelog.gz" || fail "changelog.gz is not gzipped with -n"
  zcat "$doc/changelog.gz" >"$scratch/changelog"
  [ "$(dpkg-parsechangelog -l "$scratch/changelog" -S Version)" = "$version" ] ||
    fail "the changelog's newest entry is not $version"
else
  fail "changelog.gz missing"
fi

copyright="$doc/copyright"
if [ -f "$copyright" ]; then
  for line in "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
              "Files: *" "Files: resources/mathjax/*" "License: Apache-2.0" "License: GPL-3+" \
              ' version 3 can be found in "/usr/share/common-licenses/GPL-3".'; do
    grep -qxF "$line" "$copyright" || fail "copyright lacks '$line'"
  done
  grep -q '^Copyright: .* Команда Formulon$' "$copyright" || fail "copyright lacks the project's holder"
  # The project's files are GPL 3 or later, MathJax's stay Apache-2.0.
  [ "$(awk '/^Files: \*$/ {getline; getline; print}' "$copyright")" = "License: GPL-3+" ] ||
    fail "the project's files are not under GPL-3+"
  [ "$(awk '/^Files: resources\/mathjax/ {getline; getline; print}' "$copyright")" = "License: Apache-2.0" ] ||
    fail "MathJax is not under Apache-2.0"
  grep -q '^ *END OF TERMS AND CONDITIONS$' "$copyright" || fail "copyright lacks the full Apache-2.0 text"
else
  fail "copyright file missing"
fi

desktop="$root/usr/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  for line in "Exec=formulon" "Icon=$id" "Categories=Education;Math;" "Name=Formulon" \
              "StartupWMClass=Formulon" \
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
  grep -q "<release version=\"$version\" date=\"[0-9-]*\">" "$metainfo" ||
    fail "metainfo has no release $version"
  # English base texts, each with its Russian translation; every release
  # has notes in both.
  for element in summary p li; do
    english=$(grep -c "<$element>" "$metainfo" || true)
    russian=$(grep -c "<$element xml:lang=\"ru\">" "$metainfo" || true)
    [ "$english" -gt 0 ] && [ "$english" -eq "$russian" ] ||
      fail "metainfo: $english English <$element> but $russian Russian ones"
  done
  releases=$(grep -c '<release ' "$metainfo" || true)
  [ "$(grep -c '<description>' "$metainfo")" -eq $((releases + 1)) ] ||
    fail "metainfo: a release without notes"
  grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" ||
    fail "metainfo's project licence is not GPL-3.0-or-later"
else
  fail "metainfo missing"
fi

icons="$root/usr/share/icons/hicolor"
for size in 16 32 48 64 128 256; do
  icon="$icons/${size}x${size}/apps/$id.png"
  if [ -f "$icon" ]; then
    file -b "$icon" | grep "PNG image data, $size x $size" >/dev/null ||
      fail "$icon is not a $size x $size PNG: $(file -b "$icon")"
  else
    fail "icon ${size}x${size} missing"
  fi
done
svg="$icons/scalable/apps/$id.svg"
[ -f "$svg" ] && grep -q '<svg' "$svg" || fail "scalable icon missing or not SVG"

# Nothing outside /usr, nothing from the build or test tree.
expected='^\./usr/(bin/formulon(-eval)?|lib/formulon/modules/libformulon_(mathjax|svg|lint)\.so|share/(applications|metainfo|icons/hicolor|man/(ru/)?man[16]|doc/formulon)/.*|share/formulon/tasks/[a-z0-9-]+\.tasks|share/lintian/overrides/formulon)$'
unexpected=$(cd "$root" && find . -type f | grep -vE "$expected" || true)
[ -z "$unexpected" ] || fail "unexpected files in the package: $unexpected"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package contents OK"
