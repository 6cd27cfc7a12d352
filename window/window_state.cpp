// The window's global state, apart from the code that uses it: the unit
// tests' fake platform resets it without linking the window code, which
// would bring the scene with it.
#include "window/gl_window.h"
#include "window/window_procedure.h"

HINSTANCE hInstance = nullptr;
HWND hWnd = nullptr;
HDC hDC = nullptr;
HGLRC hRC = nullptr;

bool fullscreen = TRUE;
bool active = TRUE;
bool keys[256];
