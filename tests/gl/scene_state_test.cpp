#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "camera/camera.h"
#include "render/scene.h"
#include "tests/gl/gl_context_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

using SceneStateTest = GLContextTest;

TEST_F(SceneStateTest, InitGLSetsTheStateAndPlacesTheCamera) {
  // Start from state unlike the viewer's, so that every value is InitGL's.
  glShadeModel(GL_FLAT);
  glClearColor(1, 1, 1, 1);
  glClearDepth(0.25);
  glDisable(GL_DEPTH_TEST);
  glDepthFunc(GL_GREATER);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  objCamera.Position_Camera(9, 9, 9, 8, 8, 8, 7, 7, 7);

  EXPECT_EQ(InitGL(), 1);

  GLint value = 0;
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_SMOOTH);
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0);
  EXPECT_EQ(clear[1], 0);
  EXPECT_EQ(clear[2], 0);
  EXPECT_EQ(clear[3], 0.5f);
  GLdouble depth = 0;
  glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
  EXPECT_EQ(depth, 1.0);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_LEQUAL);
  glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
  EXPECT_EQ(value, GL_NICEST);
  for (GLenum capability : {GL_LIGHTING, GL_TEXTURE_2D, GL_BLEND, GL_CULL_FACE})
    EXPECT_FALSE(glIsEnabled(capability)) << capability;
  EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});

  const CCamera& c = objCamera;
  EXPECT_EQ((std::vector<float>{c.vPosition.x, c.vPosition.y, c.vPosition.z,
                                c.vView.x, c.vView.y, c.vView.z, c.vUp.x,
                                c.vUp.y, c.vUp.z}),
            (std::vector<float>{0, 2.5f, 5, 0, 2.5f, 0, 0, 1, 0}));
}

TEST_F(SceneStateTest, ResizeSetsViewportAndA45DegreePerspective) {
  struct Case {
    int width, height;
    int expected_viewport_height;
    float expected_aspect;
  };
  const Case cases[] = {
      {640, 480, 480, 640.0f / 480.0f},
      {800, 0, 1, 800.0f},  // a zero height counts as one
      {300, 600, 600, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3, 4, 5);  // the resize must reset the model-view too

    ReSizeGLScene(c.width, c.height);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], c.width);
    EXPECT_EQ(viewport[3], c.expected_viewport_height);

    // The perspective matrix, column-major, as a 45-degree frustum with
    // near 0.1 and far 100 defines it.
    const double f = 1 / std::tan(45.0 / 2 * kPi / 180);
    const double near = 0.1f, far = 100;
    const double expected[16] = {f / c.expected_aspect,
                                 0,
                                 0,
                                 0,
                                 0,
                                 f,
                                 0,
                                 0,
                                 0,
                                 0,
                                 (far + near) / (near - far),
                                 -1,
                                 0,
                                 0,
                                 2 * far * near / (near - far),
                                 0};
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    for (int i = 0; i < 16; ++i)
      EXPECT_NEAR(projection[i], expected[i],
                  1e-6 * (1 + std::fabs(expected[i])))
          << "element " << i;

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(modelview[i], i % 5 == 0 ? 1 : 0) << "element " << i;
  }
}

TEST_F(SceneStateTest, SizesAtTheEdgesOfAWordGiveAFiniteProjection) {
  // WM_SIZE carries each side in 16 bits: 0 and 65535 are both possible.
  GLint max_viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, max_viewport);
  const double f = 1 / std::tan(45.0 / 2 * kPi / 180);
  for (int width : {0, 1, 640, 65535})
    for (int height : {0, 1, 480, 65535}) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
      ReSizeGLScene(width, height);
      EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});

      GLint viewport[4];
      glGetIntegerv(GL_VIEWPORT, viewport);
      EXPECT_EQ(viewport[2], std::min(width, max_viewport[0]));
      EXPECT_EQ(viewport[3], std::min(std::max(height, 1), max_viewport[1]));

      GLdouble projection[16];
      glGetDoublev(GL_PROJECTION_MATRIX, projection);
      for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(std::isfinite(projection[i])) << "element " << i;
      if (width > 0) {
        // The vertical field stays 45 degrees whatever the proportions.
        const double aspect = static_cast<double>(width) / std::max(height, 1);
        EXPECT_NEAR(projection[5], f, 1e-6);
        EXPECT_NEAR(projection[0], f / aspect, 1e-6 * f / aspect + 1e-12);
      }

      // And a frame can be drawn with it.
      EXPECT_EQ(DrawGLScene(), 1);
      glFinish();
      EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
    }
}

}  // namespace
