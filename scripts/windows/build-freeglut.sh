#!/usr/bin/env bash
# Cross-builds freeglut.dll from Debian's source into CACHE/freeglut-prefix,
# once: a second run with the prefix in place does nothing.
set -euo pipefail
cache=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
prefix=$cache/freeglut-prefix
[ -f "$prefix/.built" ] && exit 0

source_dir=$(find "$cache/freeglut-source" -mindepth 1 -maxdepth 1 -type d -name 'freeglut-*' 2>/dev/null | head -n 1 || true)
if [ -z "$source_dir" ]; then
  rm -rf "$cache/freeglut-source"
  "$here/apt-source-freeglut.sh" "$cache/freeglut-source"
  source_dir=$(find "$cache/freeglut-source" -mindepth 1 -maxdepth 1 -type d -name 'freeglut-*' | head -n 1)
fi

build=$cache/freeglut-build
rm -rf "$build" "$prefix"
mkdir -p "$build"
# A Windows install of freeglut ships freeglut.dll, not MinGW's default
# libfreeglut.dll; the import library stays libfreeglut.dll.a.
echo 'set(CMAKE_SHARED_LIBRARY_PREFIX "")' >"$build/dll-name.cmake"
cmake -S "$source_dir" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_PROJECT_INCLUDE="$build/dll-name.cmake" \
  -DCMAKE_SHARED_LINKER_FLAGS=-static-libgcc \
  -DFREEGLUT_BUILD_SHARED_LIBS=ON -DFREEGLUT_BUILD_STATIC_LIBS=OFF \
  -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF -DINSTALL_PDB=OFF >/dev/null
cmake --build "$build" >/dev/null
cmake --install "$build" >/dev/null
touch "$prefix/.built"
