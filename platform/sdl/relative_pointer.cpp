// The cursor where the desktop will not let a program move the pointer.
//
// XWayland (the X server of Wayland desktops) honours a warp only when its
// target lies inside the focused window and the cursor there is hidden;
// otherwise the compositor's next motion brings the old position back. There
// the layer keeps a pointer of its own instead: it stands where the last
// SetCursorPos put it, moved by the relative motion SDL gathers since.
// SDL's relative mouse mode hides the cursor and asks to confine the pointer
// to the focused window; whether it is confined is the compositor's choice.
#include "platform/sdl/layer.h"

namespace {

sdl_layer::Relative_Pointer& Own_Pointer() {
  return sdl_layer::State().relative_pointer;
}

// Motion SDL has gathered since it was last asked.
POINT Take_Motion() {
  POINT motion;
  int x = 0, y = 0;
  SDL_GetRelativeMouseState(&x, &y);
  motion.x = x;
  motion.y = y;
  return motion;
}

// The pointer has no place on the screen of its own: it starts at the centre
// of the newest window as that window was asked for, the way SDL centres
// the pointer when its relative mode begins, so that where the compositor
// puts the window changes nothing.
void Place_If_Unplaced() {
  sdl_layer::Relative_Pointer& pointer = Own_Pointer();
  if (pointer.placed) return;
  const auto& windows = sdl_layer::Windows();
  if (windows.empty()) return;
  const HWND window = windows.back();
  pointer.set_at = {window->x + window->width / 2,
                    window->y + window->height / 2};
  pointer.moved = {0, 0};
  Take_Motion();  // motion from before it was placed moves nothing
  pointer.placed = true;
}

}  // namespace

namespace sdl_layer {

void Hold_Relative_Pointer(bool hidden) {
  if ((SDL_GetRelativeMouseMode() == SDL_TRUE) == hidden) return;
  // Relative mode hides the cursor, and SDL grabs the pointer for the
  // window while the window has the focus.
  SDL_SetRelativeMouseMode(hidden ? SDL_TRUE : SDL_FALSE);
  if (hidden) Own_Pointer().placed = false;
}

BOOL Get_Relative_Pointer(POINT* point) {
  Place_If_Unplaced();
  Relative_Pointer& pointer = Own_Pointer();
  const POINT motion = Take_Motion();
  pointer.moved.x += motion.x;
  pointer.moved.y += motion.y;
  point->x = pointer.set_at.x + pointer.moved.x;
  point->y = pointer.set_at.y + pointer.moved.y;
  return TRUE;
}

BOOL Set_Relative_Pointer(int x, int y) {
  Take_Motion();  // what came before the move is overtaken by it
  Own_Pointer() = {true, {x, y}, {0, 0}};
  return TRUE;
}

}  // namespace sdl_layer
