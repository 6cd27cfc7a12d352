// The display mode, the cursor's visibility and the cursor's position.
#include <X11/Xlib.h>

#include <optional>

#include "platform/sdl/layer.h"

namespace {

constexpr int kDisplay = 0;

// Only the display's own modes will do, matched exactly on size: SDL's
// "closest" mode would turn a refused mode into a silently different one.
// The colour depth is matched where the display offers it; otherwise its own
// depth is taken, since X cannot change depth while running and Windows, too,
// emulates low colour on a deeper desktop.
std::optional<SDL_DisplayMode> Find_Mode(const DEVMODEA& wanted,
                                         bool match_depth) {
  const int count = SDL_GetNumDisplayModes(kDisplay);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(kDisplay, i, &mode) != 0) continue;
    if ((wanted.dmFields & DM_PELSWIDTH) &&
        static_cast<DWORD>(mode.w) != wanted.dmPelsWidth)
      continue;
    if ((wanted.dmFields & DM_PELSHEIGHT) &&
        static_cast<DWORD>(mode.h) != wanted.dmPelsHeight)
      continue;
    const DWORD bits = SDL_BITSPERPIXEL(mode.format);
    if (match_depth && (wanted.dmFields & DM_BITSPERPEL) && bits != 0 &&
        bits != wanted.dmBitsPerPel)
      continue;
    return mode;
  }
  return std::nullopt;
}

std::optional<SDL_DisplayMode> Find_Display_Mode(const DEVMODEA& wanted) {
  if (auto exact = Find_Mode(wanted, /*match_depth=*/true)) return exact;
  return Find_Mode(wanted, /*match_depth=*/false);
}

void Leave_Fullscreen() {
  for (HWND window : sdl_layer::Windows())
    if (SDL_GetWindowFlags(window->sdl_window) & SDL_WINDOW_FULLSCREEN)
      SDL_SetWindowFullscreen(window->sdl_window, 0);
}

}  // namespace

namespace sdl_layer {

const SDL_DisplayMode* Fullscreen_Mode() {
  const std::optional<SDL_DisplayMode>& mode = State().fullscreen_mode;
  return mode ? &*mode : nullptr;
}

}  // namespace sdl_layer

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* lpDevMode, DWORD) {
  if (!lpDevMode) {
    sdl_layer::State().fullscreen_mode.reset();
    Leave_Fullscreen();
    sdl_layer::Guard_Desktop_Mode(false);
    return DISP_CHANGE_SUCCESSFUL;
  }
  const std::optional<SDL_DisplayMode> mode = Find_Display_Mode(*lpDevMode);
  if (!mode) return DISP_CHANGE_BADMODE;
  // SDL changes the mode through a full-screen window: the next pop-up
  // window takes it, and it ends when the mode is restored or SDL quits.
  sdl_layer::State().fullscreen_mode = mode;
  sdl_layer::Guard_Desktop_Mode(true);
  return DISP_CHANGE_SUCCESSFUL;
}

int WINAPI ShowCursor(BOOL bShow) {
  int& count = sdl_layer::State().cursor_display_count;
  count += bShow ? 1 : -1;
  SDL_ShowCursor(count >= 0 ? SDL_ENABLE : SDL_DISABLE);
  if (sdl_layer::On_Xwayland()) sdl_layer::Hold_Relative_Pointer(count < 0);
  return count;
}

BOOL WINAPI GetCursorPos(POINT* lpPoint) {
  if (lpPoint && sdl_layer::On_Xwayland())
    return sdl_layer::Get_Relative_Pointer(lpPoint);
  Display* display = sdl_layer::X_Connection();
  if (!lpPoint || !display) return FALSE;
  Window root, child;
  int root_x, root_y, window_x, window_y;
  unsigned int buttons;
  if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child,
                     &root_x, &root_y, &window_x, &window_y, &buttons))
    return FALSE;
  lpPoint->x = root_x;
  lpPoint->y = root_y;
  return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
  if (sdl_layer::On_Xwayland()) return sdl_layer::Set_Relative_Pointer(X, Y);
  Display* display = sdl_layer::X_Connection();
  if (!display) return FALSE;
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, X, Y);
  XFlush(display);
  return TRUE;
}
