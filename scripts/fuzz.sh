#!/usr/bin/env bash
# Builds the libFuzzer targets with Clang, AddressSanitizer and UBSan, and
# runs each for the seconds given (30 by default), starting from its seed
# corpus in tests/fuzz/corpus. Any report fails the run; the input that
# caused it is left in build-fuzz/ for replaying (run the fuzzer on it).
#   fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
# The viewer against the fake platform; our layer's queue on SDL's dummy
# video driver.
targets=(fake_platform sdl_queue)

CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARNEL_SANITIZE=ON -DQUARNEL_FUZZ=ON \
  >/dev/null
cmake --build build-fuzz --target "${targets[@]/%/_fuzzer}"

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
for target in "${targets[@]}"; do
  # New inputs go to a working corpus, so the seeds in the tree stay as
  # they are.
  corpus=build-fuzz/corpus/$target
  log=build-fuzz/$target-fuzz.log
  mkdir -p "$corpus"
  echo "fuzzing $target for $seconds s"
  if ! "build-fuzz/tests/fuzz/${target}_fuzzer" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix=build-fuzz/ "$corpus" "tests/fuzz/corpus/$target" \
    >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzzing $target: a report (see $log)" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' \
    "$log"
done
