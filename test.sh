#!/usr/bin/env bash
# Sets up, builds and runs every test: unit, GL and end-to-end tests; all of
# them again under AddressSanitizer and UBSan; a minute of fuzzing; then the
# Windows build, cross-built and run under Wine.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j 2 -LE wine

echo "== sanitizers"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUARNEL_SANITIZE=ON >/dev/null
cmake --build build-sanitize --target camera_tests window_tests glut_ready_tests gl_tests
# The leak checker walks the dynamic TLS blocks it saw handed out by
# __tls_get_addr; with Mesa's driver loaded, GCC 12's runtime can find one
# that glibc has since reused and crash in its tracer ("Tracer caught signal
# 11"), depending on memory layout. Not following them keeps the check.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-sanitize --output-on-failure -j 2 -L 'unit|gl'

echo "== sanitizers: the SDL2 layer, and the program end to end"
cmake --build build-sanitize --target sdl_layer_tests xwayland_layer_tests quarnel \
  e2e_tests wayland_tests
# Every process writes its reports here, the viewer and its children too,
# which no test's exit code would show.
reports=$PWD/build-sanitize/reports
rm -rf "$reports"
mkdir -p "$reports"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0
ASAN_OPTIONS+=:log_path=$reports/asan
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan
ctest --test-dir build-sanitize --output-on-failure -j 2 -L layer
# SDL_Quit at the viewer's end unloads Mesa's driver, and the leak checker
# could then no longer place the driver's own allocations (it would call
# them leaks of unknown origin): the viewer gets the driver preloaded, which
# keeps it. Linking order no longer matters to ASan once it is running.
QUARNEL_VIEWER_PRELOAD=$(find /usr/lib -name swrast_dri.so -print -quit)
export QUARNEL_VIEWER_PRELOAD
ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 \
  ctest --test-dir build-sanitize --output-on-failure -j 2 -L e2e
# Warnings (such as a forked child's note that its parent's threads were
# not suspended) are not reports.
if grep -l -E 'ERROR: |runtime error' "$reports"/* 2>/dev/null; then
  cat "$reports"/*
  echo "sanitizer reports above" >&2
  exit 1
fi

echo "== fuzzing"
scripts/fuzz.sh 30

scripts/test-windows.sh
