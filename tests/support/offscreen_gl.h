// A real Mesa GL context on a private Xvfb: a hidden 640 x 480 SDL window
// with what the viewer asks for (double-buffered RGBA, 16-bit depth).
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "tests/support/xvfb_server.h"

namespace test_support {

class Offscreen_GL {
 public:
  Offscreen_GL();
  // Closes GLUT's own X connection, then stops the server. The SDL window
  // and context are left for the process's end: tearing them down unloads
  // Mesa's driver, and the leak checker could then no longer tell what the
  // driver keeps for the whole process from a leak.
  ~Offscreen_GL();

  // Empty when the context is ready and current; else what went wrong.
  std::string Make_Current() const;
  void Swap() const { SDL_GL_SwapWindow(window_); }

 private:
  std::unique_ptr<Xvfb_Server> server_;
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

}  // namespace test_support
