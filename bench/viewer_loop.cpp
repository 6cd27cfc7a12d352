// Loop A: the viewer's frame as WinMain makes it, on a window from
// CreateGLWindow through our SDL2 layer. Each frame is a PeekMessageA pass
// that empties the queue, Keyboard_Input, Mouse_Move, DrawGLScene and
// SwapBuffers, as in the main loop.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "camera/camera.h"
#include "bench/loop_runner.h"
#include "camera/keyboard.h"
#include "platform/platform.h"
#include "render/scene.h"
#include "window/gl_window.h"
#include "window/window_procedure.h"

namespace {

// What WinMain asks for when the user answers No: a 640 x 480 window.
const char kTitle[] = "Quarnel - By Dobrisk";
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kBits = 16;

void Viewer_Frame(bench::Phase_Clock& clock) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  clock.Mark(bench::kPump);
  Keyboard_Input();
  clock.Mark(bench::kInput);
  objCamera.Mouse_Move(kWidth, kHeight);
  clock.Mark(bench::kCursor);
  if (active) DrawGLScene();
  clock.Mark(bench::kDraw);
  SwapBuffers(hDC);
  clock.Mark(bench::kSwap);
}

}  // namespace

int main(int argc, char** argv) {
  // As the program's own start-up does.
  setenv("SDL_VIDEODRIVER", "x11", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "viewer loop: %s\n", SDL_GetError());
    return EXIT_FAILURE;
  }
  ShowCursor(FALSE);  // WinMain hides the cursor for a window
  if (!CreateGLWindow(kTitle, kWidth, kHeight, kBits, false))
    return EXIT_FAILURE;
  const int status = bench::Run_Loop(argc, argv, Viewer_Frame);
  // Tear-down is not measured; the X server frees what is left.
  std::fflush(stdout);
  std::_Exit(status);
}
