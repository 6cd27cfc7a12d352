#include <GL/gl.h>

#include <string>
#include <vector>

#include "camera/camera.h"
#include "render/scene.h"
#include "tests/gl/gl_context_fixture.h"
#include "tests/support/frame_checks.h"

namespace {

using test_support::Compare_Front_Top_Corner;
using test_support::Compare_With_Model;
using test_support::Frame_Report;
using test_support::Listed;
using test_support::Surface;
using test_support::View;

class SceneFrameTest : public GLContextTest {
 protected:
  // Places the camera as the view says and draws one 640 x 480 frame.
  test_support::Pixel_Source Draw(const View& view) {
    InitGL();
    ReSizeGLScene(640, 480);
    objCamera.Position_Camera(view.eye.x, view.eye.y, view.eye.z, view.centre.x,
                              view.centre.y, view.centre.z, view.up.x,
                              view.up.y, view.up.z);
    EXPECT_EQ(DrawGLScene(), 1);
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
    frame_ = Read_Back_Buffer();
    return [this](int column, int row) { return frame_.At(column, row); };
  }

 private:
  Frame frame_;
};

TEST_F(SceneFrameTest,
       StartFrameShowsSkySphereAndCubeWhereTheGeometryPutsThem) {
  const View view = test_support::Start_View();
  const Frame_Report report = Compare_With_Model(view, Draw(view));

  EXPECT_TRUE(report.mismatches.empty()) << Listed(report.mismatches);
  EXPECT_GT(report.Matched(Surface::kSky), 1000);
  EXPECT_GT(report.Matched(Surface::kSphere), 500);
}

TEST_F(SceneFrameTest, FrontTopCornersOfTheCubePokeOutOfTheSphere) {
  const View view = test_support::Start_View();
  const auto frame = Draw(view);
  for (double corner_x : {-1.0, 1.0}) {
    SCOPED_TRACE(corner_x < 0 ? "left corner" : "right corner");
    const Frame_Report report = Compare_Front_Top_Corner(view, corner_x, frame);
    EXPECT_TRUE(report.mismatches.empty()) << Listed(report.mismatches);
    EXPECT_GT(report.Matched(Surface::kCubeFront), 50);  // red
    EXPECT_GT(report.Matched(Surface::kCubeTop), 10);    // green
  }
}

TEST_F(SceneFrameTest, GridLinesAcrossTheViewLieWhereTheyProject) {
  const View view = test_support::Start_View();
  const auto failures = test_support::Check_Grid_Rows(view, Draw(view));
  EXPECT_TRUE(failures.empty()) << Listed(failures);
}

TEST_F(SceneFrameTest, MovedAndTurnedCamerasSeeWhatTheGeometrySays) {
  struct Case {
    const char* name;
    View view;
  };
  const Case cases[] = {
      {"closer, turned right", {{0.5, 2.5, 3.5}, {3.0, 2.5, -0.5}, {0, 1, 0}}},
      {"looking down from the side", {{-4, 2.5, 2}, {1, -3, -1}, {0, 1, 0}}},
      {"from behind", {{1, 2.5, -5}, {1, 2.5, 0}, {0, 1, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Frame_Report report = Compare_With_Model(c.view, Draw(c.view));
    EXPECT_TRUE(report.mismatches.empty()) << Listed(report.mismatches);
    EXPECT_GT(report.matched.size(), 2u);
  }
}

}  // namespace
