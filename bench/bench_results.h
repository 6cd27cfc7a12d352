// The figures of one benchmark run, and how they are shown: a table on
// standard output and a JSON file.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "bench/loop_runner.h"

namespace bench {

// What one loop (A or B) gave over all its runs.
struct Loop_Figures {
  std::vector<double> frames_per_second;  // one per round
  std::vector<double> cpu_ms_per_frame;   // one per round
  // Milliseconds per frame in each phase, one per round.
  std::array<std::vector<double>, kPhaseCount> phase_ms;
  std::vector<double> start_up_ms;      // one per start-up run
  std::vector<double> start_up_cpu_ms;  // one per start-up run
  std::vector<double> peak_rss_mib;     // one per timed round
};

struct Bench_Results {
  std::string cpu;
  std::string gl_renderer;
  std::string gl_version;
  std::string screen;
  std::string settings;  // what both loops ran with, e.g. the allocator's
  int rounds = 0;
  double seconds_per_round = 0;
  int start_ups = 0;
  Loop_Figures viewer;                    // A
  Loop_Figures bare;                      // B
  std::vector<double> frame_rate_ratios;  // A/B, one per round
  std::vector<double> frame_cpu_ratios;   // A/B, one per round
};

struct Spread {
  double min = 0, median = 0, max = 0;
};
Spread Spread_Of(std::vector<double> values);

void Print_Table(const Bench_Results& results);
bool Write_Json(const Bench_Results& results, const std::string& path);

}  // namespace bench
