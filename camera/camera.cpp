#include "camera/camera.h"

#include <cmath>

#include "camera/key_state.h"
#include "platform/platform.h"

namespace {

// Single-precision sine and cosine through the double-precision routines,
// so that every platform turns the view by the same float results.
float Sine(float angle) { return static_cast<float>(std::sin(double{angle})); }
float Cosine(float angle) {
  return static_cast<float>(std::cos(double{angle}));
}

constexpr float kMaxPitchHeight = 8.0f;  // about 58 degrees at 5 units out

}  // namespace

void CCamera::Move_Camera(float speed) {
  tVector3 vVector = vView - vPosition;
  vPosition.x += vVector.x * speed;
  vPosition.z += vVector.z * speed;
  vView.x += vVector.x * speed;
  vView.z += vVector.z * speed;
}

void CCamera::Strafe_Camera(float speed) {
  tVector3 vVector = vView - vPosition;
  if (Is_Key_Held(VK_LEFT) || Is_Key_Held('A')) {
    vPosition.z += vVector.x * speed;
    vView.z += vVector.x * speed;
    vPosition.x -= vVector.z * speed;
    vView.x -= vVector.z * speed;
  }
  if (Is_Key_Held(VK_RIGHT) || Is_Key_Held('D')) {
    vPosition.z -= vVector.x * speed;
    vView.z -= vVector.x * speed;
    vPosition.x += vVector.z * speed;
    vView.x += vVector.z * speed;
  }
}

void CCamera::Rotate_View(float speed) {
  tVector3 vVector = vView - vPosition;
  vView.z = vPosition.z + Sine(speed) * vVector.x + Cosine(speed) * vVector.z;
  vView.x = vPosition.x + Cosine(speed) * vVector.x - Sine(speed) * vVector.z;
}

void CCamera::Mouse_Move(int wndWidth, int wndHeight) {
  const int middle_x = wndWidth >> 1;
  const int middle_y = wndHeight >> 1;

  POINT mouse_pos;
  // Without a cursor position there is no offset to act on.
  if (!GetCursorPos(&mouse_pos)) return;
  if (mouse_pos.x == middle_x && mouse_pos.y == middle_y) return;
  SetCursorPos(middle_x, middle_y);

  const float turn = static_cast<float>(middle_x - mouse_pos.x) / 1000;
  const float tilt = static_cast<float>(middle_y - mouse_pos.y) / 1000;

  vView.y += tilt * 2;
  if (vView.y - vPosition.y > kMaxPitchHeight)
    vView.y = vPosition.y + kMaxPitchHeight;
  if (vView.y - vPosition.y < -kMaxPitchHeight)
    vView.y = vPosition.y - kMaxPitchHeight;

  Rotate_View(-turn);
}
