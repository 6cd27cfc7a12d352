// The one camera, and placing it: neither needs anything of the platform,
// unlike walking and mouse look, so a program that only draws the scene
// (InitGL places the camera) links without the platform's input calls.
#include "camera/camera.h"

// Static storage starts as zeros; the camera's constructor sets nothing, so
// it stays all zeros until InitGL places it.
CCamera objCamera;

void CCamera::Position_Camera(float pos_x, float pos_y, float pos_z,
                              float view_x, float view_y, float view_z,
                              float up_x, float up_y, float up_z) {
  vPosition = tVector3(pos_x, pos_y, pos_z);
  vView = tVector3(view_x, view_y, view_z);
  vUp = tVector3(up_x, up_y, up_z);
}
