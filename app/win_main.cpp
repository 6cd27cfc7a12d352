#include <cstdlib>

#include "camera/camera.h"
#include "camera/keyboard.h"
#include "platform/platform.h"
#include "render/scene.h"
#include "window/gl_window.h"
#include "window/window_procedure.h"

namespace {

const char kTitle[] = "Quarnel - By Dobrisk";
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kBits = 16;

// When no window could be made the viewer did not run: say so to whoever
// started it, after the message box has told the user why.
constexpr int kExitNoWindow = EXIT_FAILURE;

bool User_Wants_Fullscreen() {
  return MessageBoxA(nullptr,
                     "Would You Like To Run In Fullscreen Mode?\n"
                     "  This Program Is Written By Dobrisk.\n",
                     "Start FullScreen?", MB_YESNO | MB_ICONQUESTION) != IDNO;
}

// One idle pass: input, mouse look, and a frame unless minimised. Returns
// false when the viewer should stop.
bool Produce_Frame() {
  Keyboard_Input();
  objCamera.Mouse_Move(kWidth, kHeight);
  if (keys[VK_ESCAPE] || (active && !DrawGLScene())) return false;
  SwapBuffers(hDC);  // also while minimised, when nothing was drawn
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MSG msg;
  bool done = FALSE;
  int exit_code = 0;

  if (!User_Wants_Fullscreen()) {
    fullscreen = FALSE;
    ShowCursor(FALSE);
  }

  if (!CreateGLWindow(kTitle, kWidth, kHeight, kBits, fullscreen))
    return kExitNoWindow;

  while (!done) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        done = TRUE;
        exit_code = static_cast<int>(msg.wParam);
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else if (!Produce_Frame()) {
      done = TRUE;
    }

    // F1 switches between windowed and full-screen with a new window. It is
    // looked at after every pass, not only after frames: a quick tap's
    // release may already be queued behind its press, and would clear the
    // press before the next frame.
    if (keys[VK_F1]) {
      keys[VK_F1] = FALSE;
      KillGLWindow();
      fullscreen = !fullscreen;
      if (!CreateGLWindow(kTitle, kWidth, kHeight, kBits, fullscreen))
        return kExitNoWindow;
    }
  }

  KillGLWindow();
  return exit_code;
}
