// Drives our layer's message queue with SDL events decoded from the fuzzer's
// bytes (keys with any key code, scan code and repeat flag, window events
// with any sizes, quit), interleaved with PeekMessageA, DispatchMessageA,
// PostQuitMessage and GetKeyState. SDL runs on its dummy video driver, so no
// display is needed. Besides the sanitizers' reports it checks that the key
// state always equals the last message taken for each key.
#include <SDL.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr int kKeyCount = 256;

const SDL_Keycode kKeys[] = {SDLK_a,     SDLK_w,    SDLK_z,      SDLK_0,
                             SDLK_9,     SDLK_F1,   SDLK_F12,    SDLK_LEFT,
                             SDLK_UP,    SDLK_DOWN, SDLK_RIGHT,  SDLK_ESCAPE,
                             SDLK_SPACE, SDLK_TAB,  SDLK_LSHIFT, SDLK_RALT};
const Uint8 kWindowEvents[] = {
    SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_RESIZED,
    SDL_WINDOWEVENT_MINIMIZED,    SDL_WINDOWEVENT_RESTORED,
    SDL_WINDOWEVENT_CLOSE,        SDL_WINDOWEVENT_FOCUS_LOST};

// What the key state must be: the last key message taken for each key.
bool expected_held[kKeyCount];
MSG last_taken = {};

void Check_Key_State() {
  for (int code = 0; code < kKeyCount; ++code)
    FUZZ_CHECK(((GetKeyState(code) & 0x80) != 0) == expected_held[code]);
}

void Push_Key(FuzzedDataProvider& in) {
  SDL_Event event = {};
  event.type = in.ConsumeBool() ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.type = event.type;
  event.key.state = event.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = in.ConsumeIntegral<Uint8>();
  event.key.windowID = in.ConsumeIntegralInRange<Uint32>(0, 3);
  event.key.keysym.sym = in.ConsumeBool() ? in.PickValueInArray(kKeys)
                                          : in.ConsumeIntegral<SDL_Keycode>();
  event.key.keysym.scancode = static_cast<SDL_Scancode>(
      in.ConsumeIntegralInRange<int>(0, SDL_NUM_SCANCODES - 1));
  SDL_PushEvent(&event);
}

void Push_Window_Event(FuzzedDataProvider& in) {
  SDL_Event event = {};
  event.type = SDL_WINDOWEVENT;
  event.window.event = in.PickValueInArray(kWindowEvents);
  event.window.windowID = in.ConsumeIntegralInRange<Uint32>(0, 3);
  event.window.data1 = in.ConsumeIntegral<Sint32>();
  event.window.data2 = in.ConsumeIntegral<Sint32>();
  SDL_PushEvent(&event);
}

void Take_Message(FuzzedDataProvider& in) {
  const bool remove = in.ConsumeBool();
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, remove ? PM_REMOVE : 0)) return;
  if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)
    FUZZ_CHECK(msg.wParam < kKeyCount);  // virtual-key codes only
  if (remove) {
    if (msg.message == WM_KEYDOWN) expected_held[msg.wParam] = true;
    if (msg.message == WM_KEYUP) expected_held[msg.wParam] = false;
    last_taken = msg;
  }
  Check_Key_State();
}

// Leftovers of the previous input: taken, so that each input starts from
// an empty queue and a known key state.
void Drain() {
  MSG msg;
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  for (int code = 0; code < kKeyCount; ++code)
    expected_held[code] = (GetKeyState(code) & 0x80) != 0;
  last_taken = {};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  unsetenv("DISPLAY");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  Drain();
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0:
        Push_Key(in);
        break;
      case 1:
        Push_Window_Event(in);
        break;
      case 2: {
        SDL_Event quit = {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        break;
      }
      case 3:
        Take_Message(in);
        break;
      case 4:
        DispatchMessageA(&last_taken);
        break;
      case 5: {
        const int code = in.ConsumeIntegral<int>();
        const SHORT state = GetKeyState(code);
        if (code < 0 || code >= kKeyCount)
          FUZZ_CHECK(state == 0);
        else
          FUZZ_CHECK(((state & 0x80) != 0) == expected_held[code]);
        break;
      }
      case 6:
        PostQuitMessage(in.ConsumeIntegral<int>());
        break;
    }
  }
  return 0;
}
