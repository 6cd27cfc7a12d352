// What differs when the X server is XWayland, the X server of Wayland
// desktops: how it is recognised, and how full-screen windows settle there.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstring>

#include "platform/sdl/layer.h"

namespace {

constexpr Uint32 kSettleMs = 500;  // a compositor answers well within this

// XWayland names its RandR outputs XWAYLAND0, XWAYLAND1, ...
bool Has_Xwayland_Output(Display* display) {
  int event_base = 0, error_base = 0;
  if (!XRRQueryExtension(display, &event_base, &error_base)) return false;
  XRRScreenResources* resources =
      XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  if (!resources) return false;
  bool found = false;
  for (int i = 0; i < resources->noutput && !found; ++i) {
    XRROutputInfo* output =
        XRRGetOutputInfo(display, resources, resources->outputs[i]);
    if (!output) continue;
    found = std::strncmp(output->name, "XWAYLAND", 8) == 0;
    XRRFreeOutputInfo(output);
  }
  XRRFreeScreenResources(resources);
  return found;
}

bool Check_For_Xwayland() {
  Display* display = sdl_layer::X_Connection();
  return display && Has_Xwayland_Output(display);
}

// The size the window has once the compositor has answered the request to
// fill the screen; the asked size if it never changes it.
void Wait_For_Compositor(SDL_Window* window, int asked_width,
                         int asked_height) {
  const Uint32 start = SDL_GetTicks();
  int width = asked_width, height = asked_height;
  while (width == asked_width && height == asked_height &&
         SDL_GetTicks() - start < kSettleMs) {
    SDL_Delay(10);
    SDL_PumpEvents();  // SDL's queue keeps the events for PeekMessageA
    SDL_GetWindowSize(window, &width, &height);
  }
}

}  // namespace

namespace sdl_layer {

bool On_Xwayland() {
  static const bool on_xwayland = Check_For_Xwayland();
  return on_xwayland;
}

void Settle_Fullscreen_Window(HWND window) {
  const Uint32 flags = SDL_GetWindowFlags(window->sdl_window);
  const SDL_DisplayMode* mode = Fullscreen_Mode();
  if (!On_Xwayland() || !mode ||
      (flags & SDL_WINDOW_FULLSCREEN_DESKTOP) != SDL_WINDOW_FULLSCREEN)
    return;
  // XWayland emulates a mode change by scaling the full-screen window, but
  // only where the compositor keeps the window at the mode's size. Where it
  // gives the window the whole desktop instead, the changed mode would only
  // mislead: fill the desktop at its own mode and draw at the window's size.
  Wait_For_Compositor(window->sdl_window, mode->w, mode->h);
  int width = 0, height = 0;
  SDL_GetWindowSize(window->sdl_window, &width, &height);
  if (width != mode->w || height != mode->h)
    SDL_SetWindowFullscreen(window->sdl_window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void Report_Size_After_Showing(HWND window) {
  int width = 0, height = 0;
  SDL_GetWindowSize(window->sdl_window, &width, &height);
  if (width == window->width && height == window->height) return;
  // The program sets up its drawing for the size it asked for after showing
  // the window; a WM_SIZE in the queue then brings the size it has.
  SDL_Event event = {};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  event.window.windowID = SDL_GetWindowID(window->sdl_window);
  event.window.data1 = width;
  event.window.data2 = height;
  SDL_PushEvent(&event);
}

}  // namespace sdl_layer
