// How fast the viewer's frame is on Mesa's software renderer. Walking speed
// is a fixed step per frame, so this is also how fast the user walks:
// 0.075 units per frame times the frames per second reported here.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "camera/camera.h"
#include "camera/keyboard.h"
#include "render/scene.h"
#include "tests/fake/fake_platform.h"
#include "tests/support/offscreen_gl.h"

namespace {

std::unique_ptr<test_support::Offscreen_GL> gl;

bool Ready(benchmark::State& state) {
  const std::string problem = gl->Make_Current();
  if (!problem.empty()) state.SkipWithError(problem.c_str());
  return problem.empty();
}

// One scene, drawn and finished: 402 grid lines, the cube, and a sphere of
// 500 x 10 facets, all in immediate mode.
void BM_DrawGLScene(benchmark::State& state) {
  if (!Ready(state)) return;
  InitGL();
  ReSizeGLScene(640, 480);
  for (auto _ : state) {
    DrawGLScene();
    glFinish();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawGLScene)->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole idle pass of the main loop: input, mouse look, draw and swap.
void BM_Frame(benchmark::State& state) {
  if (!Ready(state)) return;
  fake::Reset();
  InitGL();
  ReSizeGLScene(640, 480);
  fake::platform().held_keys = {'W'};
  for (auto _ : state) {
    objCamera.Position_Camera(0, 2.5f, 5, 0, 2.5f, 0, 0, 1, 0);
    Keyboard_Input();
    objCamera.Mouse_Move(640, 480);
    DrawGLScene();
    gl->Swap();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  gl = std::make_unique<test_support::Offscreen_GL>();
  std::printf("frames per second are the items_per_second column\n");
  benchmark::RunSpecifiedBenchmarks();
  gl.reset();
  benchmark::Shutdown();
  return 0;
}
