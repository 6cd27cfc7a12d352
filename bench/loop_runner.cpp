#include "bench/loop_runner.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {
namespace {

constexpr int kWarmUpFrames = 20;

const char* const kPhaseNames[kPhaseCount] = {"pump", "input", "cursor", "draw",
                                              "swap"};

int First_Frame(Frame_Function frame) {
  Phase_Clock clock;
  clock.Start();
  frame(clock);
  const std::int64_t swapped = Monotonic_Ns();
  std::printf("first_swap_ns=%lld\nfirst_swap_cpu_ns=%lld\n",
              static_cast<long long>(swapped),
              static_cast<long long>(Process_Cpu_Ns()));
  return 0;
}

int Timed_Frames(Frame_Function frame, double seconds) {
  Phase_Clock clock;
  clock.Start();
  for (int i = 0; i < kWarmUpFrames; ++i) frame(clock);
  clock.Reset();

  const auto start = std::chrono::steady_clock::now();
  const auto end = start + std::chrono::duration<double>(seconds);
  const std::int64_t cpu_start = Process_Cpu_Ns();
  long frames = 0;
  auto now = start;
  clock.Start();
  while (now < end) {
    frame(clock);
    ++frames;
    now = std::chrono::steady_clock::now();
  }
  const std::int64_t cpu_used = Process_Cpu_Ns() - cpu_start;
  std::printf("frames=%ld\nseconds=%.9f\ncpu_seconds=%.9f\n", frames,
              std::chrono::duration<double>(now - start).count(),
              static_cast<double>(cpu_used) / 1e9);
  for (int phase = 0; phase < kPhaseCount; ++phase)
    std::printf("%s=%.9f\n", kPhaseNames[phase],
                clock.Seconds(static_cast<Phase>(phase)));
  return 0;
}

}  // namespace

std::int64_t Monotonic_Ns() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t Process_Cpu_Ns() {
  timespec used;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
  return static_cast<std::int64_t>(used.tv_sec) * 1000000000 + used.tv_nsec;
}

int Run_Loop(int argc, char** argv, Frame_Function frame) {
  if (argc == 2 && std::strcmp(argv[1], "--first-frame") == 0)
    return First_Frame(frame);
  if (argc == 3 && std::strcmp(argv[1], "--seconds") == 0)
    return Timed_Frames(frame, std::atof(argv[2]));
  std::fprintf(stderr, "usage: %s --first-frame | --seconds S\n", argv[0]);
  return EXIT_FAILURE;
}

}  // namespace bench
