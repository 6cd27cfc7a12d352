// Shared state of the Win32 calls that our layer provides over SDL2.
// Nothing outside platform/sdl includes this: the system sees only
// platform/platform.h. README.md beside this file lists every call the layer
// provides and how each departs from Windows.
#pragma once

#include <SDL.h>

struct _XDisplay;  // Xlib's Display

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

// A window as the layer keeps it. The SDL window behind it is made when it
// is first needed, which for a GL window is when the pixel format is set:
// X11 fixes a window's visual at birth, and making a GL window has SDL load
// GL and try a context, so a window made earlier would be made twice. One
// that is shown before its pixel format is set is made anew then.
struct HWND__ {
  WNDPROC procedure = nullptr;
  std::string class_name;
  std::string title;
  int x = 0, y = 0, width = 0, height = 0;
  Uint32 sdl_flags = 0;
  SDL_Window* sdl_window = nullptr;
  HDC device_context = nullptr;  // one per window, as with CS_OWNDC
};

struct HDC__ {
  HWND window = nullptr;
  bool has_pixel_format = false;
};

struct HGLRC__ {
  SDL_GLContext context = nullptr;
};

namespace sdl_layer {

constexpr WPARAM kActivated = 1;  // WA_ACTIVE in WM_ACTIVATE, not minimised

// A client size as WM_SIZE carries it: width low, height high.
inline LPARAM Size_Parameter(int width, int height) {
  return MAKELPARAM(width, height);
}

// A window's client size in pixels.
struct Client_Size {
  int width, height;
};

constexpr int kKeyTableSize = 256;  // one entry per virtual-key code

// A key release SDL reported while the X server still had the key down.
struct Unseen_Release {
  bool pending;
  LPARAM scan;  // the scan-code bits of its key messages
};

// The cursor where warps are not honoured (relative_pointer.cpp).
struct Relative_Pointer {
  bool placed = false;  // false until a window gives it a first place
  POINT set_at = {0, 0};
  POINT moved = {0, 0};  // motion gathered since it was set
};

// Everything the layer keeps between calls, in one place. What belongs to
// the process itself stays with its own file: the X connection, the display
// guardian, the signal flag and a message box's owner.
struct Layer_State {
  // Window classes by name, and the windows alive now in creation order.
  std::map<std::string, WNDCLASSA> classes;
  std::vector<HWND> windows;

  // The message queue, and the quit message waiting behind it.
  std::deque<MSG> queue;
  bool quit_posted = false;
  int quit_code = 0;

  // Keys held as of the last message taken: what GetKeyState reports.
  bool held[kKeyTableSize] = {};
  // Keys as the user holds them, as of the last event translated: bit 30
  // of a key-down says whether its key was down already.
  bool down[kKeyTableSize] = {};
  Unseen_Release unseen[kKeyTableSize] = {};
  int unseen_count = 0;

  // The mode full-screen windows take once a change has been accepted;
  // empty while the desktop's own mode is in force.
  std::optional<SDL_DisplayMode> fullscreen_mode;
  int cursor_display_count = 0;  // ShowCursor's: hidden below zero
  Relative_Pointer relative_pointer;
  Client_Size gl_size_limit = {0, 0};  // zeros until a GL context tells
};

Layer_State& State();

// The largest client area a window may take (zeros while unknown), and
// keeping windows within it; see size_limit.cpp.
Client_Size Largest_Client_Size();
// Reads the current GL context's limit; with a new context current.
void Learn_Gl_Size_Limit();
// Tells the window manager the window's largest size.
void Limit_Window_Size(HWND window);
// The size the window may keep of the one it was given, putting the window
// back to it when it was made larger.
Client_Size Keep_Within_Size_Limit(HWND window, Client_Size size);

// Windows alive now, in creation order.
inline std::vector<HWND>& Windows() { return State().windows; }
HWND Find_Window(HWND handle);
HWND Find_Window_By_Sdl_Id(Uint32 sdl_window_id);

// Calls a window's procedure directly, as Win32 does while creating,
// showing and destroying windows.
LRESULT Send_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the window's SDL window (anew), hidden, with the current GL
// attributes and the display mode asked for full-screen windows.
bool Make_Sdl_Window(HWND window);
// Makes the SDL window unless the window has one already.
bool Ensure_Sdl_Window(HWND window);

// The layer's own X connection. The pointer is read and moved through it:
// SDL caches the global pointer position between input events, so after a
// warp it would report the old place again.
_XDisplay* X_Connection();

// Whether the X server has the key down right now, whatever SDL has told.
bool Key_Is_Down_On_Server(int virtual_key);

// The display mode that full-screen windows take, once a mode change has
// been accepted; null while the desktop's own mode is in force.
const SDL_DisplayMode* Fullscreen_Mode();

// Whether the X server is XWayland, which honours no warp of the pointer
// and may not apply a changed mode to a full-screen window (xwayland.cpp).
bool On_Xwayland();
// On XWayland, once a full-screen window is shown: keeps the changed mode
// where the compositor applies it, or else fills the desktop at its own mode.
void Settle_Fullscreen_Window(HWND window);
// Queues a WM_SIZE when the shown window's size is not the one asked for.
void Report_Size_After_Showing(HWND window);

// The cursor on XWayland (relative_pointer.cpp): while the cursor is hidden
// SDL's relative mouse mode is on, and the cursor's position is the layer's
// own.
void Hold_Relative_Pointer(bool hidden);
BOOL Get_Relative_Pointer(POINT* point);
BOOL Set_Relative_Pointer(int x, int y);

// The display guardian (display_guardian.cpp): told whether the program's
// display mode is in force, it starts with the first change and restores the
// desktop's mode should the program end while it is.
void Guard_Desktop_Mode(bool program_mode_in_force);
// Has the guardian restore the desktop's mode now; for crash handlers, so
// async-signal-safe.
void Restore_Desktop_Mode_Now();

// The signals that end the program (exit_signals.cpp), installed at start.
void Handle_Exit_Signals();
// Whether a hang-up came since the last call: the program then ends as if
// its window were closed.
bool Take_Hang_Up();

}  // namespace sdl_layer
