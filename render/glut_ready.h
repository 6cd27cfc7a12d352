#pragma once

// GLUT demands initialisation before it draws a shape. Idempotent, so the
// scene can call it right before the sphere and no caller has to remember.
void Ensure_Glut_Ready();
