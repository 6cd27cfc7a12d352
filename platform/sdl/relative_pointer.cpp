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

struct Relative_Pointer {
  bool placed = false;  // false until a window gives it a first place
  POINT set_at = {0, 0};
  POINT moved = {0, 0};  // motion gathered since it was set
};

Relative_Pointer own_pointer;

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
  if (own_pointer.placed) return;
  const auto& windows = sdl_layer::Windows();
  if (windows.empty()) return;
  const HWND window = windows.back();
  own_pointer.set_at = {window->x + window->width / 2,
                        window->y + window->height / 2};
  own_pointer.moved = {0, 0};
  Take_Motion();  // motion from before it was placed moves nothing
  own_pointer.placed = true;
}

}  // namespace

namespace sdl_layer {

void Hold_Relative_Pointer(bool hidden) {
  if ((SDL_GetRelativeMouseMode() == SDL_TRUE) == hidden) return;
  // Relative mode hides the cursor, and SDL grabs the pointer for the
  // window while the window has the focus.
  SDL_SetRelativeMouseMode(hidden ? SDL_TRUE : SDL_FALSE);
  if (hidden) own_pointer.placed = false;
}

BOOL Get_Relative_Pointer(POINT* point) {
  Place_If_Unplaced();
  const POINT motion = Take_Motion();
  own_pointer.moved.x += motion.x;
  own_pointer.moved.y += motion.y;
  point->x = own_pointer.set_at.x + own_pointer.moved.x;
  point->y = own_pointer.set_at.y + own_pointer.moved.y;
  return TRUE;
}

BOOL Set_Relative_Pointer(int x, int y) {
  Take_Motion();  // what came before the move is overtaken by it
  own_pointer.set_at = {x, y};
  own_pointer.moved = {0, 0};
  own_pointer.placed = true;
  return TRUE;
}

}  // namespace sdl_layer
