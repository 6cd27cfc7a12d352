// The one seam between Quarnel and the desktop.
//
// On Windows this is <windows.h>. Everywhere else it declares the small
// subset of Win32 that the viewer calls, with Win32's values; the calls are
// provided by our SDL2 layer in the program and by a fake in unit tests.
#pragma once

#ifdef _WIN32

// USER32 and GDI32 (with WGL) declared plainly rather than as dllimport
// (the headers' switch for that is the DLLs' own build macro): the same
// object code then calls the system's DLLs through their import libraries in
// the program, and the fake platform in unit tests, whichever is linked.
#define _USER32_
#define _GDI32_
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#else

#include <cstdint>

#define WINAPI
#define CALLBACK

#define TRUE 1
#define FALSE 0

typedef int BOOL;
typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int16_t SHORT;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef std::uintptr_t ULONG_PTR;
typedef char* LPSTR;
typedef const char* LPCSTR;

// The window procedure's word and long parameters and its result.
typedef std::uint32_t WPARAM;
typedef std::int32_t LPARAM;
typedef std::int32_t LRESULT;

// Opaque handles: distinct pointer types, so that they cannot be mixed up.
#define QUARNEL_DECLARE_HANDLE(name) \
  struct name##__;                   \
  typedef name##__* name
QUARNEL_DECLARE_HANDLE(HWND);
QUARNEL_DECLARE_HANDLE(HDC);
QUARNEL_DECLARE_HANDLE(HGLRC);
QUARNEL_DECLARE_HANDLE(HINSTANCE);
QUARNEL_DECLARE_HANDLE(HICON);
QUARNEL_DECLARE_HANDLE(HCURSOR);
QUARNEL_DECLARE_HANDLE(HBRUSH);
QUARNEL_DECLARE_HANDLE(HMENU);
#undef QUARNEL_DECLARE_HANDLE
typedef HINSTANCE HMODULE;

#define LOWORD(l) ((WORD)(((ULONG_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((ULONG_PTR)(l)) >> 16) & 0xffff))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
// Two 16-bit halves in one long parameter, low word first, as WM_SIZE
// carries a client size.
#define MAKELPARAM(low, high) \
  ((LPARAM)(((((DWORD)(high)) & 0xffff) << 16) | (((DWORD)(low)) & 0xffff)))

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
  LONG x;
  LONG y;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct PIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "Win32 record size");

// The display-mode record. Only the fields the viewer sets are named; the
// rest are kept as opaque bytes so that the record keeps Win32's size.
struct DEVMODEA {
  BYTE dmDeviceName[32];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  BYTE dmUnnamedBeforeBits[60];
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  BYTE dmUnnamedAfterSize[40];
};
static_assert(sizeof(DEVMODEA) == 156, "Win32 record size");

// Messages
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_SYSCOMMAND 0x0112
#define SC_SCREENSAVE 0xF140
#define SC_MONITORPOWER 0xF170
#define PM_REMOVE 0x0001

// Virtual keys
#define VK_ESCAPE 0x1B
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_F1 0x70

// Message boxes
#define MB_OK 0x00000000L
#define MB_YESNO 0x00000004L
#define MB_ICONSTOP 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONINFORMATION 0x00000040L
#define IDOK 1
#define IDYES 6
#define IDNO 7

// Display modes
#define CDS_FULLSCREEN 0x00000004
#define DISP_CHANGE_SUCCESSFUL 0
#define DISP_CHANGE_BADMODE (-2)
#define DM_BITSPERPEL 0x00040000L
#define DM_PELSWIDTH 0x00080000L
#define DM_PELSHEIGHT 0x00100000L

// Pixel formats
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

// Window classes and styles
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_OWNDC 0x0020
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_APPWINDOW 0x00040000L
#define WS_POPUP 0x80000000L
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define SW_SHOW 5
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

typedef WORD ATOM;

// USER32
ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass);
BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);
HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName,
                            LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent,
                            HMENU hMenu, HINSTANCE hInstance, void* lpParam);
BOOL WINAPI DestroyWindow(HWND hWnd);
BOOL WINAPI AdjustWindowRectEx(RECT* lpRect, DWORD dwStyle, BOOL bMenu,
                               DWORD dwExStyle);
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
BOOL WINAPI SetForegroundWindow(HWND hWnd);
HWND WINAPI SetFocus(HWND hWnd);
HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HDC WINAPI GetDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);
LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* lpDevMode, DWORD dwFlags);
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam,
                              LPARAM lParam);
BOOL WINAPI PeekMessageA(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin,
                         UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);
void WINAPI PostQuitMessage(int nExitCode);
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
int WINAPI ShowCursor(BOOL bShow);
BOOL WINAPI GetCursorPos(POINT* lpPoint);
BOOL WINAPI SetCursorPos(int X, int Y);
SHORT WINAPI GetKeyState(int nVirtKey);

// GDI32
int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd);
BOOL WINAPI SetPixelFormat(HDC hdc, int format,
                           const PIXELFORMATDESCRIPTOR* ppfd);
BOOL WINAPI SwapBuffers(HDC hdc);

// WGL
HGLRC WINAPI wglCreateContext(HDC hdc);
BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC hglrc);
BOOL WINAPI wglDeleteContext(HGLRC hglrc);

// KERNEL32
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);

// The program's entry, run by the platform's start-up.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance,
                   LPSTR lpCmdLine, int nCmdShow);

#endif  // _WIN32
