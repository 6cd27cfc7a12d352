#include "tests/gl/gl_context_fixture.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/xvfb_server.h"

namespace {

// The X server, window and context, shared by every test of the process.
class GL_Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    server_ = std::make_unique<test_support::Xvfb_Server>();
    if (server_->display().empty()) return;
    server_->Export();
    setenv("SDL_VIDEODRIVER", "x11", 1);
    // The private desktop has no session bus; don't let SDL look for one.
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
    // What the viewer asks for: double-buffered RGBA, 16-bit depth buffer.
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    window_ = SDL_CreateWindow("quarnel gl tests", 0, 0, 640, 480,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_) context_ = SDL_GL_CreateContext(window_);
  }

  void TearDown() override {
    // GLUT holds an X connection of its own: close it before its server goes.
    if (glutGet(GLUT_INIT_STATE)) glutExit();
    // The SDL window and context stay until the process ends: tearing them
    // down unloads Mesa's driver, and the leak checker could then no longer
    // tell what the driver keeps for the whole process from a leak.
    server_.reset();
  }

  std::string Problem() const {
    if (!server_ || server_->display().empty()) return "Xvfb did not start";
    if (!context_) return std::string("no GL context: ") + SDL_GetError();
    if (SDL_GL_MakeCurrent(window_, context_) != 0) return SDL_GetError();
    return "";
  }

 private:
  std::unique_ptr<test_support::Xvfb_Server> server_;
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
};

GL_Environment* const environment = static_cast<GL_Environment*>(
    ::testing::AddGlobalTestEnvironment(new GL_Environment));

}  // namespace

void GLContextTest::SetUp() {
  const std::string problem = environment->Problem();
  ASSERT_TRUE(problem.empty()) << problem;
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
