#pragma once

#include "platform/platform.h"

// What the window procedure learns from the messages, for the main loop.
extern bool active;     // FALSE while the window is minimised
extern bool keys[256];  // held keys, indexed by virtual-key code

// The handler of the viewer's one window class.
LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
