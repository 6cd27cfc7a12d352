#include "bench/bench_results.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace bench {
namespace {

const char* const kPhaseNames[kPhaseCount] = {"pump", "input", "cursor", "draw",
                                              "swap"};

double Median(const std::vector<double>& values) {
  return Spread_Of(values).median;
}

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

// A's run over the B run next to it: the two ran under much the same load.
std::vector<double> Pair_Ratios(const std::vector<double>& a,
                                const std::vector<double>& b) {
  std::vector<double> ratios;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    ratios.push_back(Ratio(a[i], b[i]));
  return ratios;
}

void Print_Spread_Row(const char* label, const char* unit,
                      const std::vector<double>& a,
                      const std::vector<double>& b, double ratio) {
  const Spread sa = Spread_Of(a), sb = Spread_Of(b);
  std::printf("| %-26s | %8.2f %8.2f %8.2f | %8.2f %8.2f %8.2f | %5.3f |\n",
              (std::string(label) + " (" + unit + ")").c_str(), sa.min,
              sa.median, sa.max, sb.min, sb.median, sb.max, ratio);
}

std::string Json_Text(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) quoted += c;
  }
  return quoted + "\"";
}

std::string Json_Numbers(const std::vector<double>& values) {
  std::string list = "[";
  char number[32];
  for (size_t i = 0; i < values.size(); ++i) {
    std::snprintf(number, sizeof number, "%s%.4f", i ? ", " : "", values[i]);
    list += number;
  }
  return list + "]";
}

std::string Json_Spread(const std::vector<double>& values) {
  const Spread s = Spread_Of(values);
  char text[160];
  std::snprintf(text, sizeof text,
                "{\"min\": %.4f, \"median\": %.4f, \"max\": %.4f, ", s.min,
                s.median, s.max);
  return text + std::string("\"all\": ") + Json_Numbers(values) + "}";
}

void Write_Loop(std::ofstream& out, const char* name, const Loop_Figures& f) {
  out << "  " << Json_Text(name) << ": {\n"
      << "    \"frames_per_second\": " << Json_Spread(f.frames_per_second)
      << ",\n    \"cpu_ms_per_frame\": " << Json_Spread(f.cpu_ms_per_frame)
      << ",\n    \"ms_per_frame\": {";
  for (int phase = 0; phase < kPhaseCount; ++phase)
    out << (phase ? ", " : "") << Json_Text(kPhaseNames[phase]) << ": "
        << Median(f.phase_ms[phase]);
  out << "},\n    \"start_up_ms\": " << Json_Spread(f.start_up_ms)
      << ",\n    \"start_up_cpu_ms\": " << Json_Spread(f.start_up_cpu_ms)
      << ",\n    \"peak_rss_mib\": " << Json_Spread(f.peak_rss_mib)
      << "\n  },\n";
}

}  // namespace

Spread Spread_Of(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median =
      n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {values.front(), median, values.back()};
}

void Print_Table(const Bench_Results& r) {
  const Loop_Figures& a = r.viewer;
  const Loop_Figures& b = r.bare;
  const double frame_ratio = Median(r.frame_rate_ratios);
  const double start_ratio = Median(Pair_Ratios(a.start_up_ms, b.start_up_ms));
  const double rss_ratio =
      Ratio(Median(a.peak_rss_mib), Median(b.peak_rss_mib));

  std::printf("\nA = viewer through the SDL2 layer, B = bare SDL2 + GL loop\n");
  std::printf("%s; %s; %s; Xvfb %s\n", r.cpu.c_str(), r.gl_renderer.c_str(),
              r.gl_version.c_str(), r.screen.c_str());
  std::printf("%d rounds of %.1f s per loop, %d start-ups each; %s\n\n",
              r.rounds, r.seconds_per_round, r.start_ups, r.settings.c_str());
  std::printf(
      "| ratio A/B: frame rate %.3f | start-up %.3f | peak RSS %.3f |\n\n",
      frame_ratio, start_ratio, rss_ratio);
  std::printf("| %-26s | %-26s | %-26s | %-5s |\n", "figure",
              "A  min / median / max", "B  min / median / max", "A/B");
  std::printf("|%s|%s|%s|%s|\n", std::string(28, '-').c_str(),
              std::string(28, '-').c_str(), std::string(28, '-').c_str(),
              std::string(7, '-').c_str());
  Print_Spread_Row("frame rate", "fps", a.frames_per_second,
                   b.frames_per_second, frame_ratio);
  Print_Spread_Row("CPU per frame", "ms", a.cpu_ms_per_frame,
                   b.cpu_ms_per_frame, Median(r.frame_cpu_ratios));
  Print_Spread_Row("start-up to 1st swap", "ms", a.start_up_ms, b.start_up_ms,
                   start_ratio);
  Print_Spread_Row("start-up CPU", "ms", a.start_up_cpu_ms, b.start_up_cpu_ms,
                   Median(Pair_Ratios(a.start_up_cpu_ms, b.start_up_cpu_ms)));
  Print_Spread_Row("peak RSS", "MiB", a.peak_rss_mib, b.peak_rss_mib,
                   rss_ratio);

  std::printf(
      "\nA's frame, median ms per frame (B's where it has the phase):\n");
  for (int phase = 0; phase < kPhaseCount; ++phase)
    std::printf("  %-7s A %7.4f   B %7.4f\n", kPhaseNames[phase],
                Median(a.phase_ms[phase]), Median(b.phase_ms[phase]));
}

bool Write_Json(const Bench_Results& r, const std::string& path) {
  std::ofstream out(path);
  if (!out) return false;
  out << "{\n  \"machine\": {\"cpu\": " << Json_Text(r.cpu)
      << ", \"gl_renderer\": " << Json_Text(r.gl_renderer)
      << ", \"gl_version\": " << Json_Text(r.gl_version)
      << ", \"screen\": " << Json_Text(r.screen) << "},\n"
      << "  \"settings\": " << Json_Text(r.settings) << ",\n"
      << "  \"rounds\": " << r.rounds
      << ", \"seconds_per_round\": " << r.seconds_per_round
      << ", \"start_ups\": " << r.start_ups << ",\n";
  Write_Loop(out, "viewer_A", r.viewer);
  Write_Loop(out, "bare_B", r.bare);
  out << "  \"ratio_A_over_B\": {\"frame_rate\": "
      << Json_Spread(r.frame_rate_ratios)
      << ", \"cpu_per_frame\": " << Json_Spread(r.frame_cpu_ratios)
      << ", \"start_up\": "
      << Json_Spread(Pair_Ratios(r.viewer.start_up_ms, r.bare.start_up_ms))
      << ", \"start_up_cpu\": "
      << Json_Spread(
             Pair_Ratios(r.viewer.start_up_cpu_ms, r.bare.start_up_cpu_ms))
      << ", \"peak_rss\": "
      << Ratio(Median(r.viewer.peak_rss_mib), Median(r.bare.peak_rss_mib))
      << "}\n}\n";
  return static_cast<bool>(out);
}

}  // namespace bench
