// The message queue: SDL's events, translated one at a time into Win32
// messages, and the key state as of the last message taken.
#include <deque>

#include "platform/sdl/layer.h"

namespace {

constexpr WPARAM kMinimised = 1u << 16;  // high word: the minimised flag
constexpr LPARAM kWasDown = 1 << 30;     // the key was already down
constexpr LPARAM kReleasing = static_cast<LPARAM>(0x80000000u);  // going up
using sdl_layer::kKeyTableSize;
using sdl_layer::State;

// Windows' virtual-key code for an SDL key, or 0 for keys we do not pass on.
int Virtual_Key(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_BACKSPACE:
      return 0x08;
    case SDLK_TAB:
      return 0x09;
    case SDLK_RETURN:
      return 0x0D;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return 0x11;
    case SDLK_LALT:
    case SDLK_RALT:
      return 0x12;
    case SDLK_SPACE:
      return 0x20;
    default:
      return 0;
  }
}

void Queue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = SDL_GetTicks();
  State().queue.push_back(msg);
}

LPARAM Scan_Bits(const SDL_KeyboardEvent& key) {
  return (key.keysym.scancode & 0xff) << 16;
}

void Queue_Release(HWND window, int code, LPARAM scan) {
  State().down[code] = false;
  Queue(window, WM_KEYUP, code, 1 | scan | kWasDown | kReleasing);
}

// Bit 30 of a key-down comes from the layer's own record of the keys, not
// SDL's repeat flag: when its window loses the keyboard (a window made anew,
// a message box), SDL releases every key it holds, though the user has not
// let go; and the real release, if it comes while no window of ours has the
// keyboard, SDL never reports. So a release the X server disagrees with is
// not passed on: the key stays down until the server has it up.
void Translate_Key(const SDL_KeyboardEvent& key) {
  const int code = Virtual_Key(key.keysym.sym);
  if (!code) return;
  sdl_layer::Layer_State& state = State();
  const HWND window = sdl_layer::Find_Window_By_Sdl_Id(key.windowID);
  const LPARAM scan = Scan_Bits(key);
  if (state.unseen[code].pending) {
    state.unseen[code].pending = false;
    --state.unseen_count;
  }
  if (key.type == SDL_KEYDOWN) {
    const LPARAM was_down = state.down[code] ? kWasDown : 0;
    state.down[code] = true;
    Queue(window, WM_KEYDOWN, code, 1 | scan | was_down);
  } else if (state.down[code] && sdl_layer::Key_Is_Down_On_Server(code)) {
    state.unseen[code] = {true, scan};
    ++state.unseen_count;
  } else {
    Queue_Release(window, code, scan);
  }
}

// Passes on the releases SDL did not report, to the newest window.
void Report_Unseen_Releases() {
  sdl_layer::Layer_State& state = State();
  if (!state.unseen_count) return;
  const HWND window = state.windows.empty() ? nullptr : state.windows.back();
  for (int code = 0; code < kKeyTableSize; ++code) {
    if (!state.unseen[code].pending || sdl_layer::Key_Is_Down_On_Server(code))
      continue;
    Queue_Release(window, code, state.unseen[code].scan);
    state.unseen[code].pending = false;
    --state.unseen_count;
  }
}

void Translate_Window_Event(const SDL_WindowEvent& event) {
  const HWND window = sdl_layer::Find_Window_By_Sdl_Id(event.windowID);
  if (!window) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
      Queue(window, WM_ACTIVATE, kMinimised, 0);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      Queue(window, WM_ACTIVATE, sdl_layer::kActivated, 0);
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      const sdl_layer::Client_Size size =
          sdl_layer::Keep_Within_Size_Limit(window, {event.data1, event.data2});
      Queue(window, WM_SIZE, 0,
            sdl_layer::Size_Parameter(size.width, size.height));
      break;
    }
    case SDL_WINDOWEVENT_CLOSE:
      Queue(window, WM_CLOSE, 0, 0);
      break;
  }
}

// SDL turns SIGINT and SIGTERM into a quit event, and the layer a hang-up:
// ask the newest window to close, so that the program ends through its
// normal tear-down.
void Translate_Quit() {
  const auto& windows = sdl_layer::Windows();
  if (windows.empty())
    PostQuitMessage(0);
  else
    Queue(windows.back(), WM_CLOSE, 0, 0);
}

void Pump_Events() {
  if (sdl_layer::Take_Hang_Up()) Translate_Quit();
  Report_Unseen_Releases();
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        Translate_Key(event.key);
        break;
      case SDL_WINDOWEVENT:
        Translate_Window_Event(event.window);
        break;
      case SDL_QUIT:
        Translate_Quit();
        break;
    }
  }
}

// The key state follows the messages as they are taken, not SDL's live
// keyboard, which runs ahead of the queue.
void Track_Key_State(const MSG& msg) {
  if (msg.wParam >= kKeyTableSize) return;
  if (msg.message == WM_KEYDOWN) State().held[msg.wParam] = true;
  if (msg.message == WM_KEYUP) State().held[msg.wParam] = false;
}

}  // namespace

BOOL WINAPI PeekMessageA(MSG* lpMsg, HWND, UINT, UINT, UINT wRemoveMsg) {
  sdl_layer::Layer_State& state = State();
  if (state.queue.empty()) Pump_Events();
  if (!state.queue.empty()) {
    *lpMsg = state.queue.front();
    if (wRemoveMsg & PM_REMOVE) {
      state.queue.pop_front();
      Track_Key_State(*lpMsg);
    }
    return TRUE;
  }
  // As on Windows, the quit message comes once nothing else is waiting.
  if (state.quit_posted) {
    MSG quit = {};
    quit.message = WM_QUIT;
    quit.wParam = static_cast<WPARAM>(state.quit_code);
    *lpMsg = quit;
    if (wRemoveMsg & PM_REMOVE) state.quit_posted = false;
    return TRUE;
  }
  return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) {
  // The viewer reads no characters, so no character messages are made.
  return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  if (!lpMsg) return 0;
  return sdl_layer::Send_Message(lpMsg->hwnd, lpMsg->message, lpMsg->wParam,
                                 lpMsg->lParam);
}

void WINAPI PostQuitMessage(int nExitCode) {
  State().quit_posted = true;
  State().quit_code = nExitCode;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
  if (Msg == WM_CLOSE) DestroyWindow(hWnd);
  return 0;
}

SHORT WINAPI GetKeyState(int nVirtKey) {
  if (nVirtKey < 0 || nVirtKey >= kKeyTableSize) return 0;
  // Windows sign-extends the key's state byte: a held key reads 0xFF80.
  return State().held[nVirtKey] ? static_cast<SHORT>(0xFF80) : 0;
}
