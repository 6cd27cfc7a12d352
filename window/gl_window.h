#pragma once

// Builds the window class, the optional full-screen mode, the window and a
// current double-buffered GL context, then sets the projection and GL state.
// TRUE when the window is up; FALSE after telling the user why.
int CreateGLWindow(const char* title, int width, int height, int bits,
                   bool fullscreenflag);

// Takes down whatever CreateGLWindow built, in reverse order, telling the
// user of every release that fails. Afterwards no handle is set.
void KillGLWindow();
