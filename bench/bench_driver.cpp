// Runs loop A (the viewer through our layer) and loop B (a bare SDL2 + GL
// loop) on one private Xvfb, in turns so that the machine's noise falls on
// both alike, and reports frame rate, A's frame split, start-up to the first
// swapped frame and peak RSS, as a table and as JSON.
//   bench_driver [--rounds N] [--seconds S] [--start-ups N] [--json PATH]
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/bench_results.h"
#include "bench/child_process.h"
#include "tests/support/xvfb_server.h"

namespace {

constexpr char kScreen[] = "640x480x24";
constexpr int kPointerX = 320, kPointerY = 240;  // where the viewer holds it

struct Options {
  int rounds = 30;
  double seconds = 1;
  int start_ups = 20;
  std::string json = "bench.json";
};

Options Parse_Options(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const char* value = argv[i + 1];
    if (name == "--rounds") options.rounds = std::atoi(value);
    if (name == "--seconds") options.seconds = std::atof(value);
    if (name == "--start-ups") options.start_ups = std::atoi(value);
    if (name == "--json") options.json = value;
  }
  return options;
}

// The loops sit next to this program.
std::string Sibling(const std::string& name) {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return name;
  std::string self(path, static_cast<size_t>(length));
  return self.substr(0, self.rfind('/') + 1) + name;
}

std::string Cpu_Model() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line;
  while (std::getline(cpuinfo, line))
    if (line.rfind("model name", 0) == 0)
      return line.substr(line.find(':') + 2);
  return "unknown CPU";
}

// Both loops start with the pointer at the same place: where the viewer
// pins it, so that A's mouse look finds nothing to turn.
void Place_Pointer() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, kPointerX,
               kPointerY);
  XSync(display, False);
  XCloseDisplay(display);
}

// The settings both loops share that change what they cost.
std::string Shared_Settings() {
  std::string settings = "shader cache off; allocator:";
  bool any = false;
  for (const char* name :
       {"GLIBC_TUNABLES", "MALLOC_ARENA_MAX", "MALLOC_TOP_PAD_",
        "MALLOC_MMAP_THRESHOLD_", "MALLOC_TRIM_THRESHOLD_", "LD_PRELOAD"}) {
    if (const char* value = std::getenv(name)) {
      settings += std::string(" ") + name + "=" + value;
      any = true;
    }
  }
  return any ? settings : settings + " glibc defaults";
}

bench::Child_Result Run_Loop(const std::string& program,
                             const std::vector<std::string>& arguments) {
  Place_Pointer();
  std::vector<std::string> command = {program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  bench::Child_Result result = bench::Run_Child(command);
  if (!result.ok) {
    std::fprintf(stderr, "bench: %s failed\n", program.c_str());
    std::exit(EXIT_FAILURE);
  }
  return result;
}

double Timed_Round(const std::string& program, double seconds,
                   bench::Loop_Figures& figures, bench::Bench_Results& all) {
  const bench::Child_Result run =
      Run_Loop(program, {"--seconds", std::to_string(seconds)});
  const double frames = run.Number("frames");
  const double fps = frames / run.Number("seconds");
  figures.frames_per_second.push_back(fps);
  figures.cpu_ms_per_frame.push_back(run.Number("cpu_seconds") * 1000 / frames);
  const char* const names[bench::kPhaseCount] = {"pump", "input", "cursor",
                                                 "draw", "swap"};
  for (int phase = 0; phase < bench::kPhaseCount; ++phase)
    figures.phase_ms[phase].push_back(run.Number(names[phase]) * 1000 / frames);
  figures.peak_rss_mib.push_back(run.peak_rss_kib / 1024.0);
  if (run.values.count("gl_renderer")) {
    all.gl_renderer = run.values.at("gl_renderer");
    all.gl_version = run.values.at("gl_version");
  }
  return fps;
}

void Start_Up(const std::string& program, bench::Loop_Figures& figures) {
  const bench::Child_Result run = Run_Loop(program, {"--first-frame"});
  const double swapped_ns = run.Number("first_swap_ns");
  figures.start_up_ms.push_back((swapped_ns - run.started_ns) / 1e6);
  figures.start_up_cpu_ms.push_back(run.Number("first_swap_cpu_ns") / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = Parse_Options(argc, argv);
  const std::string viewer = Sibling("viewer_loop");
  const std::string bare = Sibling("bare_loop");

  test_support::Xvfb_Server server(kScreen);
  if (server.display().empty()) {
    std::fprintf(stderr, "bench: Xvfb did not start\n");
    return EXIT_FAILURE;
  }
  server.Export();
  // The same environment for both loops: X11 video, no session bus, and
  // whatever allocator settings the caller has. Mesa's shader cache is off:
  // it lives in the home directory, shared with every GL program on the
  // machine, and whether a start-up found its shaders there swung its CPU
  // time by a third from run to run. Without it each start-up compiles the
  // same shaders.
  setenv("SDL_VIDEODRIVER", "x11", 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);

  bench::Bench_Results results;
  results.cpu = Cpu_Model();
  results.screen = kScreen;
  results.settings = Shared_Settings();
  results.rounds = options.rounds;
  results.seconds_per_round = options.seconds;
  results.start_ups = options.start_ups;

  for (int round = 0; round < options.rounds; ++round) {
    // Which loop goes first alternates, so neither always runs on a
    // machine the other has just warmed up.
    const bool a_first = round % 2 == 0;
    double fps_a, fps_b;
    if (a_first) {
      fps_a = Timed_Round(viewer, options.seconds, results.viewer, results);
      fps_b = Timed_Round(bare, options.seconds, results.bare, results);
    } else {
      fps_b = Timed_Round(bare, options.seconds, results.bare, results);
      fps_a = Timed_Round(viewer, options.seconds, results.viewer, results);
    }
    results.frame_rate_ratios.push_back(fps_a / fps_b);
    results.frame_cpu_ratios.push_back(results.viewer.cpu_ms_per_frame.back() /
                                       results.bare.cpu_ms_per_frame.back());
    std::fprintf(stderr, "round %d: A %.1f fps, B %.1f fps\n", round + 1, fps_a,
                 fps_b);
  }
  for (int run = 0; run < options.start_ups; ++run) {
    if (run % 2 == 0) Start_Up(viewer, results.viewer);
    Start_Up(bare, results.bare);
    if (run % 2 == 1) Start_Up(viewer, results.viewer);
  }

  bench::Print_Table(results);
  if (!bench::Write_Json(results, options.json)) {
    std::fprintf(stderr, "bench: cannot write %s\n", options.json.c_str());
    return EXIT_FAILURE;
  }
  std::printf("\nJSON: %s\n", options.json.c_str());
  return EXIT_SUCCESS;
}
