// Everything the viewer draws, on whatever GL context is current.
#pragma once

// Sets the GL state and puts the camera at its start place. TRUE, always.
int InitGL();
// Viewport and 45-degree perspective for a client area of this size.
void ReSizeGLScene(int width, int height);
// Clears and draws one frame from the camera; the caller swaps. TRUE, always.
int DrawGLScene();
// The floor: 201 + 201 pale-green lines, 5 units apart, at y = 0.
void Draw_Grid();
