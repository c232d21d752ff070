#!/usr/bin/env bash
# Installs the Debian 12 packages Formulon needs: by default only what
# building and running the program need; with --test also what the tests,
# the fuzzing, the package checks and the MathJax bundle check need. Only
# missing packages are installed, so a second run is quick.
set -euo pipefail

usage() {
  cat <<'USAGE'
Usage: tools/install-deps.sh [--test]
Installs the Debian 12 packages that are missing.
  (no option)  what building and running Formulon need
  --test       that and what every test needs (tools/run-tests.sh)
  --help       print this text
USAGE
}

# Building and running: compiler, CMake, Qt 6 with its Russian texts,
# libjpeg and the fonts the windows ask for.
run_packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools
  qt6-declarative-dev qt6-svg-dev qt6-translations-l10n
  libjpeg-dev libxcb1-dev
  fonts-liberation fonts-dejavu-core fonts-comfortaa
)

# The tests on top, a group a line: test frameworks and benchmarks;
# sanitizers, fuzzing and formatting; a virtual screen and its tools; the
# package checks.
test_packages=(
  libgtest-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  xvfb xdotool x11-apps x11-utils xauth imagemagick openbox
  at-spi2-core python3-pyatspi dbus
  desktop-file-utils appstream dpkg-dev file time scdoc lintian gzip binutils
)

packages=("${run_packages[@]}")
with_tests=false
for arg in "$@"; do
  case $arg in
    --test) with_tests=true ;;
    -h | --help) usage; exit 0 ;;
    *) echo "install-deps.sh: unknown argument '$arg'" >&2; usage >&2; exit 2 ;;
  esac
done
if $with_tests; then
  packages+=("${test_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Node.js and npm only rebuild the MathJax bundle for its check (skipped
# without them). Looked up as commands: a Node.js from elsewhere brings its
# own npm, which Debian's npm package would conflict with.
if $with_tests; then
  command -v node >/dev/null || missing+=(nodejs)
  command -v npm >/dev/null || missing+=(npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
