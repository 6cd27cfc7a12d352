// The program's start-up: brings up SDL's video on an X display and runs
// WinMain, ending the process with its result.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sdl/layer.h"

namespace {

// SDL's video drivers that show nothing: with one of them the questions
// would go where nobody sees them, and then no window could be drawn.
bool Shows_Windows(const char* driver) {
  for (const char* headless : {"dummy", "evdev", "offscreen"})
    if (driver && SDL_strcasecmp(driver, headless) == 0) return false;
  return true;
}

int Cannot_Start(const std::string& reason) {
  std::fprintf(stderr,
               "Quarnel cannot start: it needs an X display and could not "
               "open one (is DISPLAY set?).\n%s\n",
               reason.c_str());
  return EXIT_FAILURE;
}

}  // namespace

int main(int, char**) {
  // GLUT draws through its own X connection and the cursor is held at a
  // screen position, which needs X: use it (XWayland on Wayland desktops)
  // unless the user asked for another video driver.
  setenv("SDL_VIDEODRIVER", "x11", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    return Cannot_Start(std::string("SDL says: ") + SDL_GetError());
  if (!Shows_Windows(SDL_GetCurrentVideoDriver())) {
    const std::string reason = std::string("SDL's video driver \"") +
                               SDL_GetCurrentVideoDriver() +
                               "\" (SDL_VIDEODRIVER) shows no windows.";
    SDL_Quit();
    return Cannot_Start(reason);
  }
  // When the program returns or exits, SDL puts the desktop's mode back;
  // when a signal ends it, the layer's handlers or its guardian do.
  std::atexit(SDL_Quit);
  sdl_layer::Handle_Exit_Signals();

  char no_arguments[] = "";
  return WinMain(GetModuleHandleA(nullptr), nullptr, no_arguments, SW_SHOW);
}
