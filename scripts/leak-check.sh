#!/usr/bin/env bash
# Runs the viewer once under valgrind's memcheck on a private 640 x 480 x 16
# Xvfb: windowed start, some frames, F1 to full-screen and back, frames
# again, Escape. Fails on any "definitely lost" record whose allocation
# stack runs through Quarnel's own code; leaks wholly inside the system's
# libraries are suppressed by tests/leaks/valgrind.supp, which names each.
#   leak-check.sh [seconds per phase]    (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
phase_seconds=${1:-20}
build=build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quarnel >/dev/null
counter=$build/swap_counter.so
cc -shared -fPIC -O2 -o "$counter" tests/leaks/swap_counter.c -ldl
log=$build/leak-check.log
frames_log=$build/leak-check-frames.log

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 640x480x16 -nolisten tcp 3>"$display_file" \
  >/dev/null 2>&1 &
xvfb=$!
viewer=
cleanup() {
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
DISPLAY=:$(head -n 1 "$display_file")
export DISPLAY
export DBUS_SESSION_BUS_ADDRESS=disabled:

window_named() {
  xwininfo -root -tree | awk -v name="\"$1\":" \
    'index($0, name) { print $1; exit }'
}
wait_for_window() {
  local id=
  for _ in $(seq 600); do
    id=$(window_named "$1")
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "no window \"$1\"" >&2; return 1; }
  echo "$id"
}

# The frames are counted where every SwapBuffers ends: SDL_GL_SwapWindow.
LD_PRELOAD=$PWD/$counter valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --num-callers=40 --keep-debuginfo=yes \
  --suppressions=tests/leaks/valgrind.supp --log-file="$log" \
  "$build/quarnel" 2>"$frames_log" &
viewer=$!

# No: windowed. Under valgrind the box may show before it takes keys, so
# press until it goes.
question=$(wait_for_window "Start FullScreen?")
while [ -n "$(window_named "Start FullScreen?")" ]; do
  xdotool key --window "$question" Escape 2>/dev/null || true
  sleep 1
done
wait_for_window "Quarnel - By Dobrisk" >/dev/null
sleep "$phase_seconds"
xdotool key F1 2>/dev/null  # full-screen
sleep "$phase_seconds"
xdotool key F1 2>/dev/null  # windowed again
sleep "$phase_seconds"
xdotool key Escape 2>/dev/null
wait "$viewer" || { echo "the viewer ended with $?" >&2; exit 1; }
viewer=

grep -h 'frames shown' "$frames_log" || true
grep -E 'definitely lost:|suppressed:' "$log" || true
# What is left after the suppressions runs through our code: main and
# WinMain are on every stack.
if grep -q 'are definitely lost in loss record' "$log"; then
  grep -A 40 'are definitely lost in loss record' "$log"
  echo "definitely lost memory (above); the whole log is $log" >&2
  exit 1
fi
echo "no leak of ours"
