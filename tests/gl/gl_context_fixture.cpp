#include "tests/gl/gl_context_fixture.h"

#include <GL/gl.h>

#include <memory>
#include <string>

#include "tests/support/offscreen_gl.h"

namespace {

// The X server, window and context, shared by every test of the process.
class GL_Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    gl_ = std::make_unique<test_support::Offscreen_GL>();
  }
  void TearDown() override { gl_.reset(); }
  std::string Problem() const { return gl_->Make_Current(); }

 private:
  std::unique_ptr<test_support::Offscreen_GL> gl_;
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
