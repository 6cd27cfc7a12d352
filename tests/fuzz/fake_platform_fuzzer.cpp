// Drives the viewer's code against the fake platform with input decoded from
// the fuzzer's bytes: any message through the window procedure, held keys,
// cursor positions anywhere in 16 bits, mouse look, window creation and
// tear-down with any platform call failing, and whole runs of the main loop
// fed from inside its frames. Besides the sanitizers' own reports it checks
// the invariants the rest of the viewer relies on, and aborts (so that
// libFuzzer keeps the input) when one breaks.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "camera/camera.h"
#include "camera/keyboard.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fake/fake_platform.h"
#include "window/gl_window.h"
#include "window/window_procedure.h"

namespace {

constexpr int kKeyCount = 256;
constexpr float kMaxPitchHeight = 8.0f;

// Every call of the fake that can be told to fail.
const char* const kFailableCalls[] = {"RegisterClassA",
                                      "UnregisterClassA",
                                      "CreateWindowExA",
                                      "DestroyWindow",
                                      "GetDC",
                                      "ReleaseDC",
                                      "ChoosePixelFormat",
                                      "SetPixelFormat",
                                      "wglCreateContext",
                                      "wglMakeCurrent",
                                      "wglDeleteContext",
                                      "InitGL",
                                      "GetCursorPos",
                                      "SetCursorPos"};

// Messages the viewer handles, and a few it passes on; any other value may
// come too.
const UINT kMessages[] = {WM_SIZE,       WM_ACTIVATE, WM_CLOSE,
                          WM_QUIT,       WM_KEYDOWN,  WM_KEYUP,
                          WM_SYSCOMMAND, 0x0002,      0x000F};

const int kAnswers[] = {IDOK, IDYES, IDNO, 0};

UINT Message_Of(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.PickValueInArray(kMessages)
                          : in.ConsumeIntegral<UINT>();
}

// Key codes and commands mostly small, sometimes any 32 bits.
WPARAM Word_Parameter_Of(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.ConsumeIntegral<std::uint8_t>()
                          : in.ConsumeIntegral<WPARAM>();
}

void Check_Camera() {
  const CCamera& c = objCamera;
  for (float value : {c.vPosition.x, c.vPosition.y, c.vPosition.z, c.vView.x,
                      c.vView.y, c.vView.z, c.vUp.x, c.vUp.y, c.vUp.z})
    FUZZ_CHECK(std::isfinite(value));
  const float pitch = c.vView.y - c.vPosition.y;
  FUZZ_CHECK(pitch >= -kMaxPitchHeight && pitch <= kMaxPitchHeight);
}

// Every entry a real bool; read as bytes, since a bad bool is itself the
// fault looked for.
void Check_Key_Table() {
  unsigned char raw[kKeyCount];
  std::memcpy(raw, keys, sizeof raw);
  for (unsigned char entry : raw) FUZZ_CHECK(entry <= 1);
}

void Check_No_Window_Handles() {
  FUZZ_CHECK(hWnd == nullptr);
  FUZZ_CHECK(hDC == nullptr);
  FUZZ_CHECK(hRC == nullptr);
}

// A message straight to the window procedure. A key message may change its
// own entry of the table and nothing else.
void Send_To_Window_Procedure(FuzzedDataProvider& in) {
  const UINT message = Message_Of(in);
  const WPARAM wParam = Word_Parameter_Of(in);
  const LPARAM lParam = in.ConsumeIntegral<LPARAM>();
  bool before[kKeyCount];
  std::memcpy(before, keys, sizeof before);
  WndProc(hWnd, message, wParam, lParam);
  const bool key_message = message == WM_KEYDOWN || message == WM_KEYUP;
  for (int i = 0; i < kKeyCount; ++i)
    if (!key_message || static_cast<WPARAM>(i) != wParam)
      FUZZ_CHECK(keys[i] == before[i]);
  if (message == WM_KEYUP && wParam < kKeyCount) FUZZ_CHECK(!keys[wParam]);
  Check_Key_Table();
}

void Set_Cursor(FuzzedDataProvider& in) {
  fake::platform().cursor = {in.ConsumeIntegral<std::int16_t>(),
                             in.ConsumeIntegral<std::int16_t>()};
}

void Hold_Or_Release_Key(FuzzedDataProvider& in) {
  const int code = in.ConsumeBool() ? in.ConsumeIntegral<std::uint8_t>()
                                    : in.ConsumeIntegral<int>();
  if (in.ConsumeBool())
    fake::platform().held_keys.insert(code);
  else
    fake::platform().held_keys.erase(code);
}

void Look(FuzzedDataProvider& in) {
  Set_Cursor(in);
  const int width = in.ConsumeIntegralInRange<int>(-65536, 65536);
  const int height = in.ConsumeIntegralInRange<int>(-65536, 65536);
  objCamera.Mouse_Move(width, height);
  Check_Camera();
}

void Script_Platform(FuzzedDataProvider& in) {
  fake::Platform& p = fake::platform();
  p.failing_calls.clear();
  const auto failing = in.ConsumeIntegral<std::uint16_t>();
  // Mostly nothing fails, so that runs get past creation.
  if (in.ConsumeIntegralInRange(0, 3) == 0)
    for (std::size_t i = 0; i < std::size(kFailableCalls); ++i)
      if (failing & (1u << i)) p.failing_calls.insert(kFailableCalls[i]);
  if (in.ConsumeBool()) p.display_modes.clear();  // every mode refused
  p.message_box_answers.clear();
  const int answers = in.ConsumeIntegralInRange(0, 3);
  for (int i = 0; i < answers; ++i)
    p.message_box_answers.push_back(in.PickValueInArray(kAnswers));
}

// A window made and taken down again, in either mode: afterwards no handle
// is set, the desktop's mode is back and the cursor is shown as before.
void Create_And_Kill(FuzzedDataProvider& in) {
  Script_Platform(in);
  fake::Platform& p = fake::platform();
  const int cursor_count_before = p.cursor_display_count;
  const int width = in.ConsumeBool() ? 640 : in.ConsumeIntegral<int>();
  const int height = in.ConsumeBool() ? 480 : in.ConsumeIntegral<int>();
  const int bits = in.ConsumeBool() ? 16 : in.ConsumeIntegral<std::uint8_t>();
  if (CreateGLWindow("fuzz", width, height, bits, in.ConsumeBool())) {
    const int messages = in.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < messages; ++i) Send_To_Window_Procedure(in);
    KillGLWindow();
    FUZZ_CHECK(hInstance == nullptr);
  }
  Check_No_Window_Handles();
  FUZZ_CHECK(!p.display_mode_changed);
  FUZZ_CHECK(p.cursor_display_count == cursor_count_before);
}

// What a frame may bring: messages for the queue, keys, the cursor.
void Feed_Frame(FuzzedDataProvider& in) {
  const int events = in.ConsumeIntegralInRange(0, 3);
  for (int i = 0; i < events; ++i) {
    switch (in.ConsumeIntegralInRange(0, 2)) {
      case 0:
        fake::platform().queue.push_back(
            fake::Message(Message_Of(in), Word_Parameter_Of(in),
                          in.ConsumeIntegral<LPARAM>()));
        break;
      case 1:
        Hold_Or_Release_Key(in);
        break;
      case 2:
        Set_Cursor(in);
        break;
    }
  }
}

// WinMain from the start question to its end, fed from inside its frames;
// it is asked to quit once the input or the frame budget runs out.
void Run_Main_Loop(FuzzedDataProvider& in) {
  Script_Platform(in);
  fake::Platform& p = fake::platform();
  const int cursor_count_before = p.cursor_display_count;
  const bool answered_no =
      !p.message_box_answers.empty() && p.message_box_answers.front() == IDNO;
  int frames_left = in.ConsumeIntegralInRange(1, 16);
  p.on_swap = [&](int) {
    // Each frame has just looked with the mouse.
    Check_Camera();
    Check_Key_Table();
    if (--frames_left <= 0 || in.remaining_bytes() == 0)
      PostQuitMessage(0);
    else
      Feed_Frame(in);
  };
  WinMain(nullptr, nullptr, nullptr, SW_SHOW);
  p.on_swap = nullptr;
  Check_No_Window_Handles();
  Check_Key_Table();
  FUZZ_CHECK(!p.display_mode_changed);
  // Only the windowed start hides the cursor for good.
  FUZZ_CHECK(p.cursor_display_count ==
             cursor_count_before - (answered_no ? 1 : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  fake::Reset();
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0:
        Send_To_Window_Procedure(in);
        break;
      case 1:
        Hold_Or_Release_Key(in);
        break;
      case 2:
        Look(in);
        break;
      case 3:
        Keyboard_Input();
        Check_Camera();
        break;
      case 4:
        Create_And_Kill(in);
        break;
      case 5:
        Run_Main_Loop(in);
        break;
      case 6:
        KillGLWindow();
        Check_No_Window_Handles();
        FUZZ_CHECK(hInstance == nullptr);
        break;
    }
  }
  return 0;
}
