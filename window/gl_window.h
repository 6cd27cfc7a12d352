#pragma once

#include "platform/platform.h"

// The handles of the one window and its GL context; each is null while
// there is none.
extern HINSTANCE hInstance;
extern HWND hWnd;
extern HDC hDC;
extern HGLRC hRC;

extern bool fullscreen;  // the window covers the display at 640 x 480

// Builds the window class, the optional full-screen mode, the window and a
// current double-buffered GL context, then sets the projection and GL state.
// TRUE when the window is up; FALSE after telling the user why.
int CreateGLWindow(const char* title, int width, int height, int bits,
                   bool fullscreenflag);

// Takes down whatever CreateGLWindow built, in reverse order, telling the
// user of every release that fails. Afterwards no handle is set.
void KillGLWindow();
