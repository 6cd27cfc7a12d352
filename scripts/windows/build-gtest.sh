#!/usr/bin/env bash
# Cross-builds GoogleTest from the sources Debian ships with libgtest-dev
# into CACHE/gtest-prefix, once: a second run does nothing.
set -euo pipefail
cache=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
prefix=$cache/gtest-prefix
[ -f "$prefix/.built" ] && exit 0

build=$cache/gtest-build
rm -rf "$build" "$prefix"
cmake -S /usr/src/googletest -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON >/dev/null
cmake --build "$build" >/dev/null
cmake --install "$build" >/dev/null
touch "$prefix/.built"
