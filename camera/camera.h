// The first-person camera: where the eye is, which point it looks at, and
// which way is up, with the walk, side-step and turn operations.
#pragma once

struct tVector3 {
  // Stores nothing: only a camera in static storage starts out as zeros.
  tVector3() {}
  tVector3(float new_x, float new_y, float new_z)
      : x(new_x), y(new_y), z(new_z) {}

  tVector3 operator-(tVector3 vVector) const {
    return tVector3(x - vVector.x, y - vVector.y, z - vVector.z);
  }

  float x;
  float y;
  float z;
};

class CCamera {
 public:
  tVector3 vPosition;  // the eye
  tVector3 vView;      // the point looked at, not a direction
  tVector3 vUp;        // handed to the look-at transform unchanged

  void Position_Camera(float pos_x, float pos_y, float pos_z, float view_x,
                       float view_y, float view_z, float up_x, float up_y,
                       float up_z);
  // Walks along the horizontal look direction; heights never change.
  void Move_Camera(float speed);
  // Side-steps; the direction comes from the held side keys, not from speed.
  void Strafe_Camera(float speed);
  // Turns the view point about the vertical line through the eye.
  void Rotate_View(float speed);
  // Mouse look: re-centres the cursor, then tilts and turns by its offset.
  void Mouse_Move(int wndWidth, int wndHeight);
};

// The viewer's one camera: the keyboard and the mouse move it, the scene
// looks through it.
extern CCamera objCamera;
