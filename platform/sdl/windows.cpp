// Window classes and windows.
#include <algorithm>

#include "platform/sdl/layer.h"

namespace sdl_layer {
namespace {

constexpr UINT kDestroyMessage = 0x0002;    // WM_DESTROY
constexpr DWORD kThickFrame = 0x00040000L;  // WS_THICKFRAME: user-resizable

std::map<std::string, WNDCLASSA>& Classes() { return State().classes; }

// SDL_WINDOW_OPENGL comes with the pixel format.
Uint32 Sdl_Flags_For(DWORD style) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
  if (style & kThickFrame) flags |= SDL_WINDOW_RESIZABLE;
  return flags;
}

}  // namespace

Layer_State& State() {
  static Layer_State state;
  return state;
}

HWND Find_Window(HWND handle) {
  const auto& windows = Windows();
  return std::find(windows.begin(), windows.end(), handle) != windows.end()
             ? handle
             : nullptr;
}

HWND Find_Window_By_Sdl_Id(Uint32 sdl_window_id) {
  for (HWND window : Windows())
    if (window->sdl_window &&
        SDL_GetWindowID(window->sdl_window) == sdl_window_id)
      return window;
  return nullptr;
}

LRESULT Send_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!Find_Window(window) || !window->procedure) return 0;
  return window->procedure(window, message, wParam, lParam);
}

bool Make_Sdl_Window(HWND window) {
  if (window->sdl_window) SDL_DestroyWindow(window->sdl_window);
  Uint32 flags = window->sdl_flags;
  const SDL_DisplayMode* mode = Fullscreen_Mode();
  if ((flags & SDL_WINDOW_BORDERLESS) && mode) flags |= SDL_WINDOW_FULLSCREEN;
  window->sdl_window =
      SDL_CreateWindow(window->title.c_str(), window->x, window->y,
                       window->width, window->height, flags);
  if (!window->sdl_window) return false;
  if (flags & SDL_WINDOW_FULLSCREEN)
    SDL_SetWindowDisplayMode(window->sdl_window, mode);
  return true;
}

bool Ensure_Sdl_Window(HWND window) {
  return window->sdl_window || Make_Sdl_Window(window);
}

}  // namespace sdl_layer

using namespace sdl_layer;

HMODULE WINAPI GetModuleHandleA(LPCSTR) {
  // The program is one module; any distinct non-null value will do.
  static char module;
  return reinterpret_cast<HMODULE>(&module);
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR lpIconName) {
  // Stock icons have no meaning here; the handle only has to be non-null.
  return reinterpret_cast<HICON>(const_cast<char*>(lpIconName));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR lpCursorName) {
  return reinterpret_cast<HCURSOR>(const_cast<char*>(lpCursorName));
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
  if (!lpWndClass || !lpWndClass->lpszClassName || !lpWndClass->lpfnWndProc)
    return 0;
  const bool added =
      Classes().emplace(lpWndClass->lpszClassName, *lpWndClass).second;
  return added ? static_cast<ATOM>(Classes().size()) : 0;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
  if (!lpClassName) return FALSE;
  // As on Windows, a class cannot go while a window of it is alive.
  for (HWND window : Windows())
    if (window->class_name == lpClassName) return FALSE;
  return Classes().erase(lpClassName) ? TRUE : FALSE;
}

BOOL WINAPI AdjustWindowRectEx(RECT* lpRect, DWORD, BOOL, DWORD) {
  // The window manager draws the frame outside the client area.
  return lpRect ? TRUE : FALSE;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR lpClassName, LPCSTR lpWindowName,
                            DWORD dwStyle, int X, int Y, int nWidth,
                            int nHeight, HWND, HMENU, HINSTANCE, void*) {
  if (!lpClassName) return nullptr;
  const auto found = Classes().find(lpClassName);
  if (found == Classes().end() || nWidth <= 0 || nHeight <= 0) return nullptr;

  HWND window = new HWND__;
  window->procedure = found->second.lpfnWndProc;
  window->class_name = lpClassName;
  window->title = lpWindowName ? lpWindowName : "";
  window->x = X;
  window->y = Y;
  // As on Windows, no larger than the desktop (and the GL) allows.
  const Client_Size largest = Largest_Client_Size();
  window->width = largest.width > 0 ? std::min(nWidth, largest.width) : nWidth;
  window->height =
      largest.height > 0 ? std::min(nHeight, largest.height) : nHeight;
  window->sdl_flags = Sdl_Flags_For(dwStyle);
  window->device_context = new HDC__{window, false};
  Windows().push_back(window);

  // The client area is the size asked for, within that limit: the window
  // manager's frame goes outside it.
  Send_Message(window, WM_SIZE, 0,
               Size_Parameter(window->width, window->height));
  return window;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  if (!Find_Window(hWnd)) return FALSE;
  Send_Message(hWnd, kDestroyMessage, 0, 0);
  auto& windows = Windows();
  windows.erase(std::find(windows.begin(), windows.end(), hWnd));
  if (hWnd->sdl_window) SDL_DestroyWindow(hWnd->sdl_window);
  delete hWnd->device_context;
  delete hWnd;
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int) {
  if (!Find_Window(hWnd) || !Ensure_Sdl_Window(hWnd)) return FALSE;
  const bool was_visible =
      (SDL_GetWindowFlags(hWnd->sdl_window) & SDL_WINDOW_SHOWN) != 0;
  SDL_ShowWindow(hWnd->sdl_window);
  Settle_Fullscreen_Window(hWnd);
  Report_Size_After_Showing(hWnd);
  Send_Message(hWnd, WM_ACTIVATE, kActivated, 0);
  return was_visible ? TRUE : FALSE;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  if (!Find_Window(hWnd) || !Ensure_Sdl_Window(hWnd)) return FALSE;
  SDL_RaiseWindow(hWnd->sdl_window);
  return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd) {
  if (!Find_Window(hWnd) || !Ensure_Sdl_Window(hWnd)) return nullptr;
  SDL_Window* focused = SDL_GetKeyboardFocus();
  const HWND previous =
      focused ? Find_Window_By_Sdl_Id(SDL_GetWindowID(focused)) : nullptr;
  SDL_SetWindowInputFocus(hWnd->sdl_window);
  return previous;
}
