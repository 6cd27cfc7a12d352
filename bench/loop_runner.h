// What the two benchmark loops share: their command line, the clock that
// splits a frame into phases, and the key=value lines they report to the
// driver on standard output. Nothing here touches SDL, GL or our layer, so
// the bare loop stays free of the layer.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>

namespace bench {

// The parts of one frame, in the order the viewer's main loop runs them.
enum Phase { kPump, kInput, kCursor, kDraw, kSwap, kPhaseCount };

// Adds the time since the previous mark to the phase that just ended.
class Phase_Clock {
 public:
  void Start() { last_ = std::chrono::steady_clock::now(); }
  void Mark(Phase phase) {
    const auto now = std::chrono::steady_clock::now();
    totals_[phase] += now - last_;
    last_ = now;
  }
  double Seconds(Phase phase) const {
    return std::chrono::duration<double>(totals_[phase]).count();
  }
  void Reset() { totals_.fill({}); }

 private:
  std::chrono::steady_clock::time_point last_;
  std::array<std::chrono::steady_clock::duration, kPhaseCount> totals_{};
};

// One frame: pumps, reads input, draws and swaps, marking each phase.
using Frame_Function = void (*)(Phase_Clock&);

// Runs the loop as the command line asks, then reports:
//   --first-frame   one frame, then the CLOCK_MONOTONIC time of its swap
//                   and the CPU time used up to then
//   --seconds S     a few frames to warm up, then frames for S seconds, and
//                   the frame count, the time spent in each phase and the
//                   CPU time used
// Returns the process's exit status.
int Run_Loop(int argc, char** argv, Frame_Function frame);

// Nanoseconds on CLOCK_MONOTONIC, which every process on the machine shares,
// so that the driver can subtract its own start time.
std::int64_t Monotonic_Ns();

// Nanoseconds of CPU time this process has used, in all its threads (Mesa
// draws in threads of its own). Other programs on a busy machine stretch
// wall-clock times but hardly change this.
std::int64_t Process_Cpu_Ns();

}  // namespace bench
