#include "window/gl_window.h"

#include <cstring>

#include "platform/platform.h"
#include "render/scene.h"
#include "window/window_procedure.h"

namespace {

const char kClassName[] = "OpenGL";

void Show_Error(const char* text) {
  MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

void Show_Shutdown_Error(const char* text) {
  MessageBoxA(nullptr, text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

// Once the window has been asked for, a failure tears down what was built
// before telling the user.
int Fail_Creation(const char* text) {
  KillGLWindow();
  Show_Error(text);
  return FALSE;
}

PIXELFORMATDESCRIPTOR Make_Pixel_Format_Request(int bits) {
  PIXELFORMATDESCRIPTOR pfd;
  std::memset(&pfd, 0, sizeof pfd);
  pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = static_cast<BYTE>(bits);
  pfd.cDepthBits = 16;
  pfd.iLayerType = PFD_MAIN_PLANE;
  return pfd;
}

// Filled in by the first call that gets this far and reused unchanged after
// that: every later window asks for the first window's colour depth.
const PIXELFORMATDESCRIPTOR& Pixel_Format_Request(int bits) {
  static const PIXELFORMATDESCRIPTOR pfd = Make_Pixel_Format_Request(bits);
  return pfd;
}

bool Register_Window_Class() {
  WNDCLASSA wc;
  std::memset(&wc, 0, sizeof wc);
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = hInstance;
  wc.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

bool Change_To_Fullscreen_Mode(int width, int height, int bits) {
  DEVMODEA mode;
  std::memset(&mode, 0, sizeof mode);
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  mode.dmBitsPerPel = bits;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) ==
         DISP_CHANGE_SUCCESSFUL;
}

bool User_Accepts_Windowed_Mode() {
  return MessageBoxA(nullptr,
                     "The Requested Fullscreen Mode Is Not Supported By\n"
                     "Your Video Card. Use Windowed Mode Instead?",
                     "OPENGL", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

// Switches the display for a full-screen window; when the mode is refused,
// asks whether to go on in a window. False when the user says no, after
// telling them that the program closes.
bool Settle_Display_Mode(int width, int height, int bits) {
  if (!fullscreen || Change_To_Fullscreen_Mode(width, height, bits))
    return true;
  if (User_Accepts_Windowed_Mode()) {
    fullscreen = FALSE;
    return true;
  }
  MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
  return false;
}

// A frameless pop-up without a cursor at full screen, a normal window
// otherwise, with a client area of the given size.
HWND Open_Window(const char* title, int width, int height) {
  RECT window_rect = {0, 0, width, height};
  DWORD ex_style = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
  DWORD style = WS_OVERLAPPEDWINDOW;
  if (fullscreen) {
    ex_style = WS_EX_APPWINDOW;
    style = WS_POPUP;
    ShowCursor(FALSE);
  }
  AdjustWindowRectEx(&window_rect, style, FALSE, ex_style);

  return CreateWindowExA(ex_style, kClassName, title,
                         style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                         window_rect.right - window_rect.left,
                         window_rect.bottom - window_rect.top, nullptr, nullptr,
                         hInstance, nullptr);
}

// Device context, pixel format and a current rendering context for the
// window. Null when all is done, else what failed, for the user.
const char* Make_Current_GL_Context(int bits) {
  const PIXELFORMATDESCRIPTOR& pfd = Pixel_Format_Request(bits);

  hDC = GetDC(hWnd);
  if (!hDC) return "Can't Create A GL Device Context.";

  const int pixel_format = ChoosePixelFormat(hDC, &pfd);
  if (!pixel_format) return "Can't Find A Suitable PixelFormat.";

  if (!SetPixelFormat(hDC, pixel_format, &pfd))
    return "Can't Set The PixelFormat.";

  hRC = wglCreateContext(hDC);
  if (!hRC) return "Can't Create A GL Rendering Context.";

  if (!wglMakeCurrent(hDC, hRC))
    return "Can't Activate The GL Rendering Context.";
  return nullptr;
}

void Bring_Window_To_Front() {
  ShowWindow(hWnd, SW_SHOW);
  SetForegroundWindow(hWnd);
  SetFocus(hWnd);
}

}  // namespace

int CreateGLWindow(const char* title, int width, int height, int bits,
                   bool fullscreenflag) {
  fullscreen = fullscreenflag;
  hInstance = GetModuleHandleA(nullptr);

  if (!Register_Window_Class()) {
    Show_Error("Failed To Register The Window Class.");
    return FALSE;
  }
  if (!Settle_Display_Mode(width, height, bits)) return FALSE;

  hWnd = Open_Window(title, width, height);
  if (!hWnd) return Fail_Creation("Window Creation Error.");

  if (const char* failure = Make_Current_GL_Context(bits))
    return Fail_Creation(failure);

  Bring_Window_To_Front();
  ReSizeGLScene(width, height);

  if (!InitGL()) return Fail_Creation("Initialization Failed.");
  return TRUE;
}

void KillGLWindow() {
  if (fullscreen) {
    ChangeDisplaySettingsA(nullptr, 0);  // back to the desktop's own mode
    ShowCursor(TRUE);
  }

  // Each handle is cleared once its release has been tried, whether or not
  // it worked, so that a later tear-down never releases it a second time.
  if (hRC) {
    if (!wglMakeCurrent(nullptr, nullptr))
      Show_Shutdown_Error("Release Of DC And RC Failed.");
    if (!wglDeleteContext(hRC))
      Show_Shutdown_Error("Release Rendering Context Failed.");
    hRC = nullptr;
  }

  if (hDC) {
    if (!ReleaseDC(hWnd, hDC))
      Show_Shutdown_Error("Release Device Context Failed.");
    hDC = nullptr;
  }

  if (hWnd) {
    if (!DestroyWindow(hWnd)) Show_Shutdown_Error("Could Not Release hWnd.");
    hWnd = nullptr;
  }

  if (!UnregisterClassA(kClassName, hInstance))
    Show_Shutdown_Error("Could Not Unregister Class.");
  hInstance = nullptr;
}
