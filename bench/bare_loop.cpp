// Loop B: the same frames without our layer. An SDL2 window and GL context
// made directly, with the attributes and window flags the layer uses for
// the viewer's 640 x 480 window; SDL's events pumped; the scene drawn by
// the same DrawGLScene; and SDL's swap.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "bench/loop_runner.h"
#include "render/scene.h"

namespace {

const char kTitle[] = "Quarnel - By Dobrisk";
constexpr int kWidth = 640;
constexpr int kHeight = 480;

SDL_Window* window = nullptr;

// The pixel format the viewer asks for at 16 bits: double-buffered 5-6-5
// RGB, no alpha, 16-bit depth, no stencil.
void Set_Viewer_Attributes() {
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

bool Open_Window() {
  Set_Viewer_Attributes();
  // A resizable window at the top-left corner, hidden until the context is
  // current, as the layer makes it.
  window = SDL_CreateWindow(
      kTitle, 0, 0, kWidth, kHeight,
      SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!window) return false;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context || SDL_GL_MakeCurrent(window, context) != 0) return false;
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);
  ReSizeGLScene(kWidth, kHeight);
  return InitGL() != 0;
}

void Bare_Frame(bench::Phase_Clock& clock) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
  }
  clock.Mark(bench::kPump);
  clock.Mark(bench::kInput);   // nothing: no key table to read
  clock.Mark(bench::kCursor);  // nothing: the pointer is left alone
  DrawGLScene();
  clock.Mark(bench::kDraw);
  SDL_GL_SwapWindow(window);
  clock.Mark(bench::kSwap);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "x11", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "bare loop: %s\n", SDL_GetError());
    return EXIT_FAILURE;
  }
  SDL_ShowCursor(SDL_DISABLE);
  if (!Open_Window()) {
    std::fprintf(stderr, "bare loop: %s\n", SDL_GetError());
    return EXIT_FAILURE;
  }
  const int status = bench::Run_Loop(argc, argv, Bare_Frame);
  // Which GL did the drawing, for the report.
  std::printf("gl_renderer=%s\ngl_version=%s\n",
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
              reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  std::fflush(stdout);
  std::_Exit(status);
}
