// The largest client area a window may have: what the GL can draw into and
// what the desktop can show, whichever is smaller. Past the GL's limit Mesa's
// software renderer miscomputes the size of its buffers and crashes in its
// drawing threads; Windows, for its part, never lets a window grow past what
// the desktop allows.
#include <GL/gl.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

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

// Whether a window manager runs: one that follows the EWMH names its check
// window on the root.
bool Window_Manager_Runs(Display* display) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type;
  int format;
  unsigned long count = 0, remaining;
  unsigned char* data = nullptr;
  XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                     XA_WINDOW, &type, &format, &count, &remaining, &data);
  if (data) XFree(data);
  return count == 1;
}

// Another client's resize, redirected to us: granted within the limit. It
// runs as SDL reads the event, before anything is drawn at a size past it.
int Grant_Resize_Within_Limit(void*, SDL_Event* event) {
  if (event->type != SDL_SYSWMEVENT ||
      event->syswm.msg->subsystem != SDL_SYSWM_X11)
    return 1;
  const XEvent& x_event = event->syswm.msg->msg.x11.event;
  if (x_event.type != ResizeRequest) return 1;
  const XResizeRequestEvent& request = x_event.xresizerequest;
  const sdl_layer::Client_Size largest = sdl_layer::Largest_Client_Size();
  if (largest.width <= 0) return 1;
  XResizeWindow(request.display, request.window,
                std::min(request.width, largest.width),
                std::min(request.height, largest.height));
  XFlush(request.display);
  return 1;
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

  // Without one, any client may resize the window, and the GL would draw a
  // frame at that size before the size change could be answered: such
  // resizes come to us as requests instead, granted within the limit.
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window->sdl_window, &info) ||
      info.subsystem != SDL_SYSWM_X11 ||
      Window_Manager_Runs(info.info.x11.display))
    return;
  static const bool watching = [] {
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_AddEventWatch(Grant_Resize_Within_Limit, nullptr);
    return true;
  }();
  (void)watching;
  XWindowAttributes attributes;
  XGetWindowAttributes(info.info.x11.display, info.info.x11.window,
                       &attributes);
  XSelectInput(info.info.x11.display, info.info.x11.window,
               attributes.your_event_mask | ResizeRedirectMask);
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
