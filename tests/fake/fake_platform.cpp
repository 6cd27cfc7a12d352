#include "tests/fake/fake_platform.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "camera/camera.h"
#include "window/gl_window.h"
#include "window/window_procedure.h"

namespace fake {
namespace {

std::unique_ptr<Platform> the_platform = std::make_unique<Platform>();

template <typename Handle>
Handle Fake_Handle(std::uintptr_t value) {
  return reinterpret_cast<Handle>(value);
}

[[maybe_unused]] const HINSTANCE kInstance = Fake_Handle<HINSTANCE>(0x1000);
const HWND kWindow = Fake_Handle<HWND>(0x2000);
const HDC kDeviceContext = Fake_Handle<HDC>(0x3000);
const HGLRC kRenderingContext = Fake_Handle<HGLRC>(0x4000);

}  // namespace

Platform& platform() { return *the_platform; }

void Reset() {
  the_platform = std::make_unique<Platform>();
  hInstance = nullptr;
  hWnd = nullptr;
  hDC = nullptr;
  hRC = nullptr;
  fullscreen = TRUE;
  active = TRUE;
  std::memset(keys, 0, sizeof keys);
  objCamera.Position_Camera(0, 0, 0, 0, 0, 0, 0, 0, 0);
}

std::vector<std::string> Calls_Starting_With(
    const std::vector<std::string>& prefixes) {
  std::vector<std::string> matching;
  for (const std::string& call : platform().calls)
    for (const std::string& prefix : prefixes)
      if (call.compare(0, prefix.size(), prefix) == 0) {
        matching.push_back(call);
        break;
      }
  return matching;
}

LRESULT Call_Window_Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
  Platform& p = platform();
  if (!p.class_registered || !p.window) return 0;
  return p.window_class.lpfnWndProc(p.window, message, wParam, lParam);
}

MSG Message(UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = platform().window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  return msg;
}

}  // namespace fake

using fake::Call_Window_Procedure;
using fake::platform;

namespace {
std::string Hex(unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", value);
  return text;
}
}  // namespace

// Input

SHORT WINAPI GetKeyState(int nVirtKey) {
  // Windows sign-extends the key's state byte: a held key reads 0xFF80.
  return platform().held_keys.count(nVirtKey) ? static_cast<SHORT>(0xFF80) : 0;
}

BOOL WINAPI GetCursorPos(POINT* lpPoint) {
  if (platform().Fails("GetCursorPos")) return FALSE;
  *lpPoint = platform().cursor;
  return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
  platform().Log("SetCursorPos(" + std::to_string(X) + "," + std::to_string(Y) +
                 ")");
  if (platform().Fails("SetCursorPos")) return FALSE;
  platform().cursor = {X, Y};
  return TRUE;
}

int WINAPI ShowCursor(BOOL bShow) {
  platform().Log(std::string("ShowCursor(") + (bShow ? "TRUE" : "FALSE") + ")");
  return platform().cursor_display_count += bShow ? 1 : -1;
}

// Messages

BOOL WINAPI PeekMessageA(MSG* lpMsg, HWND, UINT, UINT, UINT) {
  fake::Platform& p = platform();
  if (!p.queue.empty()) {
    *lpMsg = p.queue.front();
    p.queue.pop_front();
    return TRUE;
  }
  if (p.quit_posted) {
    p.quit_posted = false;
    *lpMsg = fake::Message(WM_QUIT, static_cast<WPARAM>(p.quit_code));
    return TRUE;
  }
  return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
  platform().Log("DispatchMessageA(" + Hex(lpMsg->message) + ")");
  return Call_Window_Procedure(lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

void WINAPI PostQuitMessage(int nExitCode) {
  platform().Log("PostQuitMessage(" + std::to_string(nExitCode) + ")");
  platform().quit_posted = true;
  platform().quit_code = nExitCode;
}

LRESULT WINAPI DefWindowProcA(HWND, UINT Msg, WPARAM wParam, LPARAM) {
  platform().Log("DefWindowProcA(" + Hex(Msg) + "," + Hex(wParam) + ")");
  return fake::kDefaultHandlerResult;
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  fake::Platform& p = platform();
  p.Log(std::string("MessageBoxA(") + (hWnd ? "owned" : "NULL") + "," +
        lpCaption + "," + lpText + "," + Hex(uType) + ")");
  if (!p.message_box_answers.empty()) {
    const int answer = p.message_box_answers.front();
    p.message_box_answers.pop_front();
    return answer;
  }
  return (uType & MB_YESNO) ? IDYES : IDOK;
}

// Window class and window

#ifndef _WIN32
// On Windows the C runtime itself calls the real one, so it stays.
HMODULE WINAPI GetModuleHandleA(LPCSTR) { return fake::kInstance; }
#endif

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR lpIconName) {
  return reinterpret_cast<HICON>(const_cast<char*>(lpIconName));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR lpCursorName) {
  return reinterpret_cast<HCURSOR>(const_cast<char*>(lpCursorName));
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
  fake::Platform& p = platform();
  p.Log(std::string("RegisterClassA(") + lpWndClass->lpszClassName + ")");
  if (p.Fails("RegisterClassA") || p.class_registered) return 0;
  p.window_class = *lpWndClass;
  p.class_registered = true;
  return 1;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
  fake::Platform& p = platform();
  p.Log(std::string("UnregisterClassA(") + lpClassName + ")");
  if (p.Fails("UnregisterClassA") || !p.class_registered) return FALSE;
  p.class_registered = false;
  return TRUE;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* lpDevMode, DWORD dwFlags) {
  fake::Platform& p = platform();
  if (!lpDevMode) {
    p.Log("ChangeDisplaySettingsA(NULL," + std::to_string(dwFlags) + ")");
    p.display_mode_changed = false;
    return DISP_CHANGE_SUCCESSFUL;
  }
  p.Log("ChangeDisplaySettingsA(" + std::to_string(lpDevMode->dmPelsWidth) +
        "x" + std::to_string(lpDevMode->dmPelsHeight) + "x" +
        std::to_string(lpDevMode->dmBitsPerPel) + "," +
        Hex(lpDevMode->dmFields) + "," + std::to_string(lpDevMode->dmSize) +
        "," + std::to_string(dwFlags) + ")");
  for (const fake::Display_Mode& mode : p.display_modes)
    if (static_cast<DWORD>(mode.width) == lpDevMode->dmPelsWidth &&
        static_cast<DWORD>(mode.height) == lpDevMode->dmPelsHeight &&
        static_cast<DWORD>(mode.bits) == lpDevMode->dmBitsPerPel) {
      p.display_mode_changed = true;
      return DISP_CHANGE_SUCCESSFUL;
    }
  return DISP_CHANGE_BADMODE;
}

BOOL WINAPI AdjustWindowRectEx(RECT*, DWORD, BOOL, DWORD) { return TRUE; }

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName,
                            LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND, HMENU, HINSTANCE,
                            void*) {
  fake::Platform& p = platform();
  p.Log("CreateWindowExA");
  if (p.Fails("CreateWindowExA")) return nullptr;
  p.created_windows.push_back(
      {dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight});
  p.window = fake::kWindow;
  // As on Windows, the new window is sized before CreateWindowExA returns.
  Call_Window_Procedure(WM_SIZE, 0, MAKELPARAM(nWidth, nHeight));
  return p.window;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  fake::Platform& p = platform();
  p.Log("DestroyWindow");
  if (p.Fails("DestroyWindow") || hWnd != p.window) return FALSE;
  p.window = nullptr;
  return TRUE;
}

BOOL WINAPI ShowWindow(HWND, int nCmdShow) {
  platform().Log("ShowWindow(" + std::to_string(nCmdShow) + ")");
  Call_Window_Procedure(WM_ACTIVATE, 1, 0);
  return FALSE;
}

BOOL WINAPI SetForegroundWindow(HWND) {
  platform().Log("SetForegroundWindow");
  return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd) {
  platform().Log("SetFocus");
  return hWnd;
}

// Device context, pixel format and GL context

HDC WINAPI GetDC(HWND) {
  platform().Log("GetDC");
  return platform().Fails("GetDC") ? nullptr : fake::kDeviceContext;
}

int WINAPI ReleaseDC(HWND, HDC) {
  platform().Log("ReleaseDC");
  return platform().Fails("ReleaseDC") ? 0 : 1;
}

int WINAPI ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR* ppfd) {
  platform().Log("ChoosePixelFormat");
  platform().pixel_format_requests.push_back(*ppfd);
  return platform().Fails("ChoosePixelFormat") ? 0 : 7;
}

BOOL WINAPI SetPixelFormat(HDC, int format, const PIXELFORMATDESCRIPTOR*) {
  platform().Log("SetPixelFormat(" + std::to_string(format) + ")");
  return platform().Fails("SetPixelFormat") ? FALSE : TRUE;
}

HGLRC WINAPI wglCreateContext(HDC) {
  platform().Log("wglCreateContext");
  return platform().Fails("wglCreateContext") ? nullptr
                                              : fake::kRenderingContext;
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC hglrc) {
  platform().Log(std::string("wglMakeCurrent(") +
                 (hdc && hglrc ? "context" : "NULL") + ")");
  return platform().Fails("wglMakeCurrent") ? FALSE : TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC) {
  platform().Log("wglDeleteContext");
  return platform().Fails("wglDeleteContext") ? FALSE : TRUE;
}

BOOL WINAPI SwapBuffers(HDC) {
  fake::Platform& p = platform();
  p.Log("SwapBuffers");
  ++p.swap_count;
  if (p.on_swap) p.on_swap(p.swap_count);
  return TRUE;
}
