#include "render/scene.h"

// <windows.h> must come before the GL headers on Windows.
#include "platform/platform.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "camera/camera.h"
#include "render/glut_ready.h"

int InitGL() {
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  // Every new window starts the walk again from the same place: 2.5 units
  // up, 5 units out along +z, looking level at the cube.
  objCamera.Position_Camera(0, 2.5f, 5, 0, 2.5f, 0, 0, 1, 0);
  return TRUE;
}

void ReSizeGLScene(int width, int height) {
  if (height == 0) height = 1;  // no division by zero below
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0f,
                 static_cast<GLfloat>(width) / static_cast<GLfloat>(height),
                 0.1f, 100.0f);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

namespace {

struct tFace {
  GLfloat colour[3];
  GLfloat vertices[4][3];
};

// The cube of edge 2, one colour per face; the sphere is drawn in the last
// colour set, the violet of the right face.
constexpr tFace kCubeFaces[] = {
    {{0, 1, 0}, {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}}},  // top
    {{1, 0.5f, 0},
     {{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}}},         // bottom
    {{1, 0, 0}, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},  // front
    {{1, 1, 0}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},  // back
    {{0, 0, 1}, {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}},  // left
    {{1, 0, 1}, {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}}},      // right
};

void Draw_Cube() {
  glBegin(GL_QUADS);
  for (const tFace& face : kCubeFaces) {
    glColor3f(face.colour[0], face.colour[1], face.colour[2]);
    for (const auto& vertex : face.vertices)
      glVertex3f(vertex[0], vertex[1], vertex[2]);
  }
  glEnd();
}

}  // namespace

int DrawGLScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  gluLookAt(objCamera.vPosition.x, objCamera.vPosition.y, objCamera.vPosition.z,
            objCamera.vView.x, objCamera.vView.y, objCamera.vView.z,
            objCamera.vUp.x, objCamera.vUp.y, objCamera.vUp.z);
  Draw_Grid();
  glTranslatef(0, 1, 0);  // cube and sphere sit one unit above the ground
  Draw_Cube();
  Ensure_Glut_Ready();
  glutSolidSphere(1.5, 500, 10);
  return TRUE;
}

void Draw_Grid() {
  // A float counter: -500 to 500 in steps of 5 is exact in single precision.
  for (float i = -500; i <= 500; i += 5) {
    glBegin(GL_LINES);
    glColor3ub(150, 190, 150);
    glVertex3f(-500, 0, i);
    glVertex3f(500, 0, i);
    glVertex3f(i, 0, -500);
    glVertex3f(i, 0, 500);
    glEnd();
  }
}
