#include <GL/gl.h>

#include <cstdlib>
#include <map>
#include <string>

#include "app/globals.h"
#include "render/scene.h"
#include "tests/gl/gl_context_fixture.h"

namespace {

using test_support::Colour_Of;
using test_support::Name_Of;
using test_support::Project;
using test_support::Rgb;
using test_support::Stable_Trace;
using test_support::Surface;
using test_support::View;

const Rgb kGridColour = {150, 190, 150};

bool Near(Rgb a, Rgb b, int tolerance = 2) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::string Text(Rgb c) {
  return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," +
         std::to_string(c.b) + ")";
}

class SceneFrameTest : public GLContextTest {
 protected:
  // Places the camera as the view says and draws one 640 x 480 frame.
  Frame Draw(const View& view) {
    InitGL();
    ReSizeGLScene(640, 480);
    objCamera.Position_Camera(view.eye.x, view.eye.y, view.eye.z, view.centre.x,
                              view.centre.y, view.centre.z, view.up.x,
                              view.up.y, view.up.z);
    EXPECT_EQ(DrawGLScene(), 1);
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
    return Read_Back_Buffer();
  }

  // Compares every pixel on a coarse lattice whose surface is certain with
  // the colour of that surface; returns how many of each surface matched.
  std::map<Surface, int> Expect_Matches_Model(const View& view,
                                              const Frame& frame) {
    std::map<Surface, int> matched;
    for (int row = 4; row < 476; row += 6) {
      for (int column = 4; column < 636; column += 6) {
        const auto surface = Stable_Trace(view, column, row);
        // The ground's lines are checked on their own.
        if (!surface || *surface == Surface::kGround) continue;
        const Rgb got = frame.At(column, row);
        if (Near(got, Colour_Of(*surface)))
          ++matched[*surface];
        else
          ADD_FAILURE() << Name_Of(*surface) << " at (" << column << "," << row
                        << ") expected " << Text(Colour_Of(*surface))
                        << ", got " << Text(got);
      }
    }
    return matched;
  }
};

TEST_F(SceneFrameTest, StartFrameShowsSkySphereAndCubeWhereTheGeometryPutsThem) {
  const View view = test_support::Start_View();
  const Frame frame = Draw(view);
  const std::map<Surface, int> matched = Expect_Matches_Model(view, frame);

  EXPECT_GT(matched.count(Surface::kSky) ? matched.at(Surface::kSky) : 0, 1000);
  EXPECT_GT(matched.count(Surface::kSphere) ? matched.at(Surface::kSphere) : 0,
            500);
}

TEST_F(SceneFrameTest, FrontTopCornersOfTheCubePokeOutOfTheSphere) {
  const View view = test_support::Start_View();
  const Frame frame = Draw(view);

  for (double corner_x : {-1.0, 1.0}) {
    SCOPED_TRACE(corner_x < 0 ? "left corner" : "right corner");
    const auto corner = Project(view, {corner_x, 2, 1});
    int red = 0, green = 0;
    for (int row = int(corner.y) - 30; row <= int(corner.y) + 30; ++row) {
      for (int column = int(corner.x) - 30; column <= int(corner.x) + 30;
           ++column) {
        const auto surface = Stable_Trace(view, column, row, 1);
        if (!surface || (*surface != Surface::kCubeFront &&
                         *surface != Surface::kCubeTop))
          continue;
        const Rgb got = frame.At(column, row);
        EXPECT_TRUE(Near(got, Colour_Of(*surface)))
            << Name_Of(*surface) << " at (" << column << "," << row
            << ") got " << Text(got);
        ++(*surface == Surface::kCubeFront ? red : green);
      }
    }
    EXPECT_GT(red, 50);
    EXPECT_GT(green, 10);
  }
}

TEST_F(SceneFrameTest, GridLinesAcrossTheViewLieWhereTheyProject) {
  const View view = test_support::Start_View();
  const Frame frame = Draw(view);

  for (double z : {-5.0, -10.0, -15.0}) {
    // Lines parallel to x appear level; look at both sides of the sphere.
    const int row = static_cast<int>(Project(view, {0, 0, z}).y);
    for (int column : {100, 540}) {
      SCOPED_TRACE("z = " + std::to_string(z) + ", column " +
                   std::to_string(column));
      bool found = false;
      for (int r = row - 1; r <= row + 1; ++r)
        found = found || Near(frame.At(column, r), kGridColour);
      EXPECT_TRUE(found) << "near row " << row << ": "
                         << Text(frame.At(column, row));
    }
  }
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
    const Frame frame = Draw(c.view);
    const std::map<Surface, int> matched = Expect_Matches_Model(c.view, frame);
    EXPECT_GT(matched.size(), 2u);
  }
}

}  // namespace
