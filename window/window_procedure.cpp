#include "window/window_procedure.h"

#include "render/scene.h"

namespace {

// The key table has one entry per virtual-key code; other codes are ignored
// rather than written outside it.
bool Is_Table_Key(WPARAM code) { return code < sizeof keys / sizeof keys[0]; }

// Bit 30 of a key-down's long parameter: the key was already down, so this
// is auto-repeat.
bool Is_Auto_Repeat(LPARAM lParam) { return (lParam & 0x40000000) != 0; }

void Record_Key_Press(WPARAM code, LPARAM lParam) {
  if (!Is_Table_Key(code)) return;
  // Holding F1 must toggle the display mode once, not at the repeat rate.
  if (code == VK_F1 && Is_Auto_Repeat(lParam)) return;
  keys[code] = TRUE;
}

}  // namespace

LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_ACTIVATE:
      // Only minimising stops the drawing; losing the focus does not.
      active = HIWORD(wParam) == 0;
      return 0;

    case WM_SYSCOMMAND:
      // Keep the screen saver and monitor power-saving from starting.
      if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
      break;

    case WM_CLOSE:
      // The main loop ends on the quit message and tears the window down.
      PostQuitMessage(0);
      return 0;

    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) PostQuitMessage(0);
      Record_Key_Press(wParam, lParam);
      break;

    case WM_KEYUP:
      if (Is_Table_Key(wParam)) keys[wParam] = FALSE;
      return 0;

    case WM_SIZE:
      ReSizeGLScene(LOWORD(lParam), HIWORD(lParam));
      return 0;
  }
  return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
