// The scene's entry points as the window and the main loop see them: each
// call is recorded in the fake platform's log, and InitGL can be made to
// fail, which the real one never does.
#include <string>

#include "render/scene.h"
#include "tests/fake/fake_platform.h"

using fake::platform;

int InitGL() {
  platform().Log("InitGL");
  return platform().Fails("InitGL") ? FALSE : TRUE;
}

void ReSizeGLScene(int width, int height) {
  platform().Log("ReSizeGLScene(" + std::to_string(width) + "," +
                 std::to_string(height) + ")");
}

int DrawGLScene() {
  platform().Log("DrawGLScene");
  return TRUE;
}
