// The viewer's global state: the window's handles and flags, the key table
// and the one camera.
#pragma once

#include "camera/camera.h"
#include "platform/platform.h"

extern HINSTANCE hInstance;
extern HWND hWnd;
extern HDC hDC;
extern HGLRC hRC;

extern bool fullscreen;  // the window covers the display at 640 x 480
extern bool active;      // FALSE while the window is minimised
extern bool keys[256];   // held keys, indexed by virtual-key code

extern CCamera objCamera;
