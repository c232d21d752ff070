#!/usr/bin/env bash
# Installs the Debian 12 packages Formulon needs to build, run and test.
# Only missing packages are installed, so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools
  qt6-declarative-dev qt6-svg-dev
  libjpeg-dev libxcb1-dev
  libgtest-dev googletest libbenchmark-dev
  fonts-liberation fonts-dejavu-core fonts-comfortaa
  clang libclang-rt-14-dev clang-format
  xvfb xdotool x11-apps x11-utils xauth imagemagick openbox
  at-spi2-core python3-pyatspi dbus
  desktop-file-utils appstream dpkg-dev file time
  scdoc lintian gzip binutils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# Node.js and npm only rebuild the MathJax bundle for its check (skipped
# without them). Looked up as commands: a Node.js from elsewhere brings its
# own npm, which Debian's npm package would conflict with.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)

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
