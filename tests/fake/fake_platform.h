// A scripted stand-in for the desktop, for unit tests.
//
// It holds the input a test sets up (held keys, the cursor, queued messages,
// message-box answers, the display's modes), makes any one call fail on
// request, and records every call in order so that tests can assert
// sequences such as "the window was torn down, then one message box".
#pragma once

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct Display_Mode {
  int width;
  int height;
  int bits;
};

struct Created_Window {
  DWORD ex_style;
  std::string class_name;
  std::string title;
  DWORD style;
  int x, y, width, height;
};

struct Platform {
  // Scripted input.
  std::set<int> held_keys;
  POINT cursor = {320, 240};
  std::deque<MSG> queue;
  std::deque<int> message_box_answers;  // empty: the first button
  std::vector<Display_Mode> display_modes = {{640, 480, 16}};
  std::set<std::string> failing_calls;  // by function name
  // Runs inside each SwapBuffers, with the number of swaps so far: the
  // place to post messages or a quit into a running main loop.
  std::function<void(int)> on_swap;

  // What the system did.
  std::vector<std::string> calls;
  int cursor_display_count = 0;
  bool display_mode_changed = false;  // a mode not the desktop's is in force
  int swap_count = 0;
  bool quit_posted = false;
  int quit_code = 0;
  WNDCLASSA window_class = {};
  bool class_registered = false;
  std::vector<Created_Window> created_windows;
  std::vector<PIXELFORMATDESCRIPTOR> pixel_format_requests;
  HWND window = nullptr;

  bool Fails(const std::string& call) const {
    return failing_calls.count(call) != 0;
  }
  void Log(const std::string& call) { calls.push_back(call); }
};

// The one fake platform of the test process.
Platform& platform();

// A fresh fake platform and the viewer's global state at its start values.
void Reset();

// The calls recorded so far whose text starts with one of these prefixes,
// in order: a view of the log that leaves out what a test does not check.
std::vector<std::string> Calls_Starting_With(
    const std::vector<std::string>& prefixes);

// Calls the registered window procedure for the fake's one window, as
// Windows does during creation, showing and dispatch.
LRESULT Call_Window_Procedure(UINT message, WPARAM wParam, LPARAM lParam);

MSG Message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

constexpr LRESULT kDefaultHandlerResult = 0x4242;

}  // namespace fake
