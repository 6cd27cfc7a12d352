#!/usr/bin/env bash
# Installs the Debian packages Quarnel needs to build, run and test, leaving
# alone those already installed. Runs apt as root, or through sudo.
#   install-deps.sh            the Linux build, the viewer and its tests
#   install-deps.sh windows    the Windows cross-build and Wine
set -euo pipefail

linux_packages=(
  # build
  g++ cmake ninja-build pkg-config
  libsdl2-dev libx11-dev libxrandr-dev libgl-dev libglu1-mesa-dev freeglut3-dev
  libgtest-dev libbenchmark-dev
  # run: Mesa's software renderer, and X core fonts for SDL's message boxes
  libgl1-mesa-dri xfonts-base
  # test: a private X server, input, window listing and screenshots, and a
  # linter for the shell scripts
  xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick shellcheck
  # test: a real X server that changes modes, and a window manager
  xserver-xorg-core xserver-xorg-video-dummy openbox
  # test: a Wayland desktop (weston, nested in Xvfb, with its XWayland)
  weston xwayland
  # test: Clang's libFuzzer and sanitizer runtimes, and a leak check of the
  # whole program
  clang-14 libclang-rt-14-dev valgrind
)

windows_packages=(
  # MinGW-w64 with POSIX threads (GoogleTest needs std::mutex), and
  # dpkg-dev for unpacking freeglut's Debian source
  g++-mingw-w64-x86-64-posix dpkg-dev
  # 64-bit Wine only, and the X and GL libraries its display driver loads
  wine wine64 libgl1 libglx-mesa0 libxrandr2 libxxf86vm1 libxcomposite1
  libxi6 libxrender1 libxcursor1 libxinerama1 libxfixes3
)

case "${1:-linux}" in
  linux) packages=("${linux_packages[@]}") ;;
  windows) packages=("${windows_packages[@]}") ;;
  *) echo "usage: $0 [linux|windows]" >&2; exit 2 ;;
esac

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
# Without --no-install-recommends wine would bring 32-bit Wine and i386.
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq \
  --no-install-recommends "${missing[@]}"
