// The program's start-up: brings up SDL's video on an X display and runs
// WinMain, ending the process with its result.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/sdl/layer.h"

int main(int, char**) {
  // GLUT draws through its own X connection and the cursor is held at a
  // screen position, which needs X: use it (XWayland on Wayland desktops)
  // unless the user asked for another video driver.
  setenv("SDL_VIDEODRIVER", "x11", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr,
                 "Quarnel cannot start: it needs an X display and could not "
                 "open one (is DISPLAY set?).\nSDL says: %s\n",
                 SDL_GetError());
    return EXIT_FAILURE;
  }
  // When the program returns or exits, SDL puts the desktop's mode back;
  // when a signal ends it, the layer's handlers or its guardian do.
  std::atexit(SDL_Quit);
  sdl_layer::Handle_Exit_Signals();

  char no_arguments[] = "";
  return WinMain(GetModuleHandleA(nullptr), nullptr, no_arguments, SW_SHOW);
}
