#include "camera/keyboard.h"

#include "camera/camera.h"
#include "camera/key_state.h"

namespace {

// One step per frame; there is no timer, so speed follows the frame rate.
constexpr float kStep = 0.015f;

}  // namespace

void Keyboard_Input() {
  if (Is_Key_Held(VK_UP) || Is_Key_Held('W')) objCamera.Move_Camera(kStep);
  if (Is_Key_Held(VK_DOWN) || Is_Key_Held('S')) objCamera.Move_Camera(-kStep);
  // Both side keys pass the same speed: Strafe_Camera picks the direction.
  if (Is_Key_Held(VK_LEFT) || Is_Key_Held('A')) objCamera.Strafe_Camera(-kStep);
  if (Is_Key_Held(VK_RIGHT) || Is_Key_Held('D'))
    objCamera.Strafe_Camera(-kStep);
}
