#pragma once

#include "platform/platform.h"

// The handler of the viewer's one window class.
LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
