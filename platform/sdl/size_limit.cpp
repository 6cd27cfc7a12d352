// The largest client area a window may have: what the GL can draw into and
// what the desktop can show, whichever is smaller. Past the GL's limit Mesa's
// software renderer miscomputes the size of its buffers and crashes in its
// drawing threads; Windows, for its part, never lets a window grow past what
// the desktop allows.
#include <GL/gl.h>

#include <algorithm>

#include "platform/sdl/layer.h"

namespace {

// The bounds of all displays together: the desktop that windows live on.
SDL_Rect Desktop_Bounds() {
  SDL_Rect desktop = {0, 0, 0, 0};
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
    if (desktop.w == 0)
      desktop = bounds;
    else
      SDL_UnionRect(&desktop, &bounds, &desktop);
  }
  return desktop;
}

}  // namespace

namespace sdl_layer {

void Learn_Gl_Size_Limit() {
  GLint dims[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
  if (dims[0] > 0 && dims[1] > 0) State().gl_size_limit = {dims[0], dims[1]};
}

Client_Size Largest_Client_Size() {
  const SDL_Rect desktop = Desktop_Bounds();
  const Client_Size gl = State().gl_size_limit;
  Client_Size largest = {desktop.w, desktop.h};
  // Without a display's size, only the GL's limit is known; without that
  // too, nothing is.
  if (largest.width <= 0 || largest.height <= 0) largest = {0, 0};
  if (gl.width > 0) {
    largest.width =
        largest.width ? std::min(largest.width, gl.width) : gl.width;
    largest.height =
        largest.height ? std::min(largest.height, gl.height) : gl.height;
  }
  return largest;
}

void Limit_Window_Size(HWND window) {
  const Client_Size largest = Largest_Client_Size();
  if (!window->sdl_window || largest.width <= 0) return;
  // A window manager then refuses to make the window larger.
  SDL_SetWindowMaximumSize(window->sdl_window, largest.width, largest.height);
}

Client_Size Keep_Within_Size_Limit(HWND window, Client_Size size) {
  const Client_Size largest = Largest_Client_Size();
  if (largest.width <= 0 ||
      (size.width <= largest.width && size.height <= largest.height))
    return size;
  const Client_Size kept = {std::min(size.width, largest.width),
                            std::min(size.height, largest.height)};
  // Any client may resize our window, and without a window manager nothing
  // stops it: put it back before the next frame is drawn into it. A window
  // manager that makes it larger is answered the same way. A full-screen
  // window keeps the display mode's size, which the display can show.
  if (window->sdl_window &&
      !(SDL_GetWindowFlags(window->sdl_window) & SDL_WINDOW_FULLSCREEN))
    SDL_SetWindowSize(window->sdl_window, kept.width, kept.height);
  return kept;
}

}  // namespace sdl_layer
