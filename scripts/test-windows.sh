#!/usr/bin/env bash
# The Windows build, checked from Linux: cross-built with MinGW-w64, its
# import table read, its unit tests and the program itself run under Wine
# on a private Xvfb with Mesa. freeglut, GoogleTest and the Wine prefix are
# built once and cached in build-windows/cache. Prints what each part took.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-windows
cache=$build/cache
# The Linux side of the Wine tests: a Linux build of its own, so that the
# Windows program's paths stay out of build/'s cache.
wine_build=$root/build-wine
wine_run=$cache/wine/wine-run

timings=()
timed() {  # timed NAME COMMAND...
  local name=$1 start
  shift
  start=$(date +%s.%N)
  echo "== windows: $name"
  "$@"
  timings+=("$(awk -v n="$name" -v a="$start" -v b="$(date +%s.%N)" \
    'BEGIN { printf "%-28s %6.1f s", n, b - a }')")
}

# One X server for Wine's prefix and the unit tests; the program's tests
# start their own.
xvfb_pid=""
start_xvfb() {
  local display_file=$build/xvfb-display display=""
  mkdir -p "$build"
  rm -f "$display_file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" \
    >/dev/null 2>&1 &
  xvfb_pid=$!
  # Xvfb writes the number once it listens; it may also die first.
  for _ in $(seq 100); do
    display=$(tr -d '[:space:]' <"$display_file" 2>/dev/null || true)
    if [ -n "$display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  if ! [[ $display =~ ^[0-9]+$ ]]; then
    echo "Xvfb gave no display number: it ended, or took over 10 s" >&2
    return 1
  fi
  export DISPLAY=":$display"
}
stop() {
  if [ -f "$wine_run" ]; then
    WINEPREFIX=$cache/wine/prefix wineserver -k 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop EXIT

configure_windows_build() {
  cmake -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_PREFIX_PATH=$cache/freeglut-prefix;$cache/gtest-prefix" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$wine_run" >/dev/null
  cmake --build "$build"
}

build_wine_tests() {
  cmake -S . -B "$wine_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUARNEL_WINDOWS_EXE="$build/quarnel.exe" \
    -DQUARNEL_WINE_RUN="$wine_run" >/dev/null
  cmake --build "$wine_build" --target wine_tests
}

timed "install MinGW and Wine" scripts/install-deps.sh windows
timed "freeglut" scripts/windows/build-freeglut.sh "$cache"
timed "GoogleTest" scripts/windows/build-gtest.sh "$cache"
start_xvfb
timed "Wine prefix" scripts/windows/wine-setup.sh "$cache/wine" \
  "$cache/freeglut-prefix/bin"
timed "cross-build" configure_windows_build
timed "import table, unit tests" \
  ctest --test-dir "$build" --output-on-failure
timed "build the Wine tests" build_wine_tests
timed "program under Wine" \
  ctest --test-dir "$wine_build" -L wine --output-on-failure

echo "== windows: figures"
grep -h 'Wine and Linux start frames' \
  "$wine_build/Testing/Temporary/LastTest.log" || true
printf '%s\n' "${timings[@]}"
