#include "app/globals.h"

HINSTANCE hInstance = nullptr;
HWND hWnd = nullptr;
HDC hDC = nullptr;
HGLRC hRC = nullptr;

bool fullscreen = TRUE;
bool active = TRUE;
bool keys[256];

// Static storage starts as zeros; the camera's constructor sets nothing, so
// it stays all zeros until InitGL places it.
CCamera objCamera;
