#!/usr/bin/env bash
# Sets up, builds in Release and runs the frame-loop benchmark: the viewer's
# loop through our SDL2 layer (A) against a bare SDL2 + GL loop (B), in turns
# on one private Xvfb at 640x480. Prints the table and writes
# build-bench/bench.json. Options go to the driver, for example
#   ./bench.sh --rounds 9 --seconds 5 --start-ups 20
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target bench
exec build-bench/bench/bench_driver --json build-bench/bench.json "$@"
