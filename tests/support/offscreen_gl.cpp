#include "tests/support/offscreen_gl.h"

#include <GL/freeglut.h>

#include <cstdlib>

namespace test_support {

Offscreen_GL::Offscreen_GL() : server_(std::make_unique<Xvfb_Server>()) {
  if (server_->display().empty()) return;
  server_->Export();
  setenv("SDL_VIDEODRIVER", "x11", 1);
  // The private desktop has no session bus; don't let SDL look for one.
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  window_ = SDL_CreateWindow("quarnel offscreen", 0, 0, 640, 480,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window_) context_ = SDL_GL_CreateContext(window_);
}

Offscreen_GL::~Offscreen_GL() {
  if (glutGet(GLUT_INIT_STATE)) glutExit();
  server_.reset();
}

std::string Offscreen_GL::Make_Current() const {
  if (server_->display().empty()) return "Xvfb did not start";
  if (!context_) return std::string("no GL context: ") + SDL_GetError();
  if (SDL_GL_MakeCurrent(window_, context_) != 0) return SDL_GetError();
  return "";
}

}  // namespace test_support
