#!/usr/bin/env bash
# Installs the Debian packages Quarnel needs to build, run and test, leaving
# alone those already installed. Runs apt as root, or through sudo.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libgl-dev libglu1-mesa-dev freeglut3-dev
  libgtest-dev libbenchmark-dev
  # run: Mesa's software renderer, and X core fonts for SDL's message boxes
  libgl1-mesa-dri xfonts-base
  # test: a private X server, input, window listing and screenshots
  xvfb xauth xdotool x11-utils imagemagick
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null |
    grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq \
  --no-install-recommends "${missing[@]}"
