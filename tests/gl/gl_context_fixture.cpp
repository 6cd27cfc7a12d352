#include "tests/gl/gl_context_fixture.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <cstdlib>

std::unique_ptr<test_support::Xvfb_Server> GLContextTest::server_;
SDL_Window* GLContextTest::window_ = nullptr;
SDL_GLContext GLContextTest::context_ = nullptr;

void GLContextTest::SetUpTestSuite() {
  server_ = std::make_unique<test_support::Xvfb_Server>();
  if (server_->display().empty()) return;
  server_->Export();
  setenv("SDL_VIDEODRIVER", "x11", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
  // What the viewer asks for: double-buffered RGBA with a 16-bit depth buffer.
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  window_ = SDL_CreateWindow("quarnel gl tests", 0, 0, 640, 480,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window_) context_ = SDL_GL_CreateContext(window_);
}

void GLContextTest::TearDownTestSuite() {
  // GLUT holds an X connection of its own: close it before its server goes.
  if (glutGet(GLUT_INIT_STATE)) glutExit();
  if (context_) SDL_GL_DeleteContext(context_);
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
  context_ = nullptr;
  window_ = nullptr;
  server_.reset();
}

void GLContextTest::SetUp() {
  ASSERT_FALSE(server_->display().empty()) << "Xvfb did not start";
  ASSERT_NE(context_, nullptr) << "no GL context: " << SDL_GetError();
  ASSERT_EQ(SDL_GL_MakeCurrent(window_, context_), 0) << SDL_GetError();
}

GLContextTest::Frame GLContextTest::Read_Back_Buffer() {
  Frame frame{640, 480, std::vector<unsigned char>(640 * 480 * 3)};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE,
               frame.rgb.data());
  return frame;
}

test_support::Rgb GLContextTest::Frame::At(int column, int row) const {
  const unsigned char* p = &rgb[(row * width + column) * 3];
  return {p[0], p[1], p[2]};
}
