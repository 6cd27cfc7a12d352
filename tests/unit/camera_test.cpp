#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "camera/camera.h"
#include "tests/fake/fake_platform.h"

namespace {

constexpr float kStep = 0.015f;
constexpr float kStepDistance = 5 * 0.015f;  // horizontal look length is 5
constexpr double kPi = 3.14159265358979323846;

class CameraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    // The start place: eye 2.5 up and 5 out along +z, looking along -z.
    camera.Position_Camera(0, 2.5f, 5, 0, 2.5f, 0, 0, 1, 0);
  }

  void Hold(std::vector<int> codes) {
    fake::platform().held_keys.insert(codes.begin(), codes.end());
  }

  CCamera camera;
};

TEST_F(CameraTest, VectorDifferenceSubtractsEachAxisFromItsOwn) {
  // Distinct values on every axis, so that a swapped axis or operand shows.
  const tVector3 d = tVector3(5, 7, 9) - tVector3(1, 3, 2);
  EXPECT_EQ(d.x, 4);
  EXPECT_EQ(d.y, 4);
  EXPECT_EQ(d.z, 7);
}

TEST_F(CameraTest, WalkingFromTheStartPlaceMovesAlongMinusZ) {
  struct Case {
    float speed;
    float expected_z_shift;
  };
  for (const Case& c :
       {Case{kStep, -kStepDistance}, Case{-kStep, kStepDistance}, Case{0, 0}}) {
    SCOPED_TRACE(c.speed);
    SetUp();
    camera.Move_Camera(c.speed);
    EXPECT_FLOAT_EQ(camera.vPosition.z, 5 + c.expected_z_shift);
    EXPECT_FLOAT_EQ(camera.vView.z, 0 + c.expected_z_shift);
    EXPECT_EQ(camera.vPosition.x, 0);
    EXPECT_EQ(camera.vView.x, 0);
  }
}

TEST_F(CameraTest, WalkingStepIsProportionalToTheLookLength) {
  // The look direction is not normalised: a view point twice as far away
  // doubles the step.
  camera.Position_Camera(0, 0, 0, 10, 0, 0, 0, 1, 0);
  camera.Move_Camera(kStep);
  EXPECT_FLOAT_EQ(camera.vPosition.x, 10 * kStep);
  EXPECT_FLOAT_EQ(camera.vView.x, 10 + 10 * kStep);
}

TEST_F(CameraTest, StrafeDirectionComesFromTheHeldSideKeys) {
  struct Case {
    const char* name;
    std::vector<int> held;
    float expected_x_shift;
  };
  const Case cases[] = {
      {"neither", {}, 0},           {"left arrow", {VK_LEFT}, -kStepDistance},
      {"A", {'A'}, -kStepDistance}, {"right arrow", {VK_RIGHT}, kStepDistance},
      {"D", {'D'}, kStepDistance},  {"left and right", {VK_LEFT, VK_RIGHT}, 0},
      {"A and D", {'A', 'D'}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Hold(c.held);
    camera.Strafe_Camera(-kStep);
    EXPECT_NEAR(camera.vPosition.x, c.expected_x_shift, 1e-6);
    EXPECT_NEAR(camera.vView.x, c.expected_x_shift, 1e-6);
    // The side-step is square to the look direction: no walk along it.
    EXPECT_FLOAT_EQ(camera.vPosition.z, 5);
    EXPECT_FLOAT_EQ(camera.vView.z, 0);
  }
}

TEST_F(CameraTest, HeightsNeverChangeWhileWalkingSideSteppingOrTurning) {
  // A camera looking down and to the side.
  const float eye_y = 2.5f, view_y = -1.25f;
  Hold({VK_LEFT});
  camera.Position_Camera(1, eye_y, 2, 4, view_y, -3, 0, 1, 0);
  camera.Move_Camera(kStep);
  camera.Move_Camera(-3 * kStep);
  camera.Strafe_Camera(-kStep);
  camera.Rotate_View(0.7f);
  EXPECT_EQ(camera.vPosition.y, eye_y);
  EXPECT_EQ(camera.vView.y, view_y);
  EXPECT_EQ(camera.vUp.y, 1);
}

TEST_F(CameraTest, RotateViewTurnsAboutTheVerticalThroughTheEye) {
  struct Case {
    const char* name;
    float angle;
    float expected_view_x, expected_view_z;
    double tolerance;
  };
  const Case cases[] = {
      {"no turn is exact", 0, 0, 0, 0},
      {"a full turn comes back", static_cast<float>(2 * kPi), 0, 0, 1e-5},
      {"a quarter turn right looks along +x", static_cast<float>(kPi / 2), 5, 5,
       1e-5},
      {"a quarter turn left looks along -x", static_cast<float>(-kPi / 2), -5,
       5, 1e-5},
      {"a half turn looks back along +z", static_cast<float>(kPi), 0, 10, 1e-5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    camera.Rotate_View(c.angle);
    EXPECT_NEAR(camera.vView.x, c.expected_view_x, c.tolerance);
    EXPECT_NEAR(camera.vView.z, c.expected_view_z, c.tolerance);
    EXPECT_EQ(camera.vView.y, 2.5f);
    EXPECT_EQ(camera.vPosition.x, 0);
    EXPECT_EQ(camera.vPosition.z, 5);
  }
}

class MouseLookTest : public CameraTest {
 protected:
  void Cursor_At(int x, int y) { fake::platform().cursor = {x, y}; }
  int Cursor_Warps() {
    return static_cast<int>(fake::Calls_Starting_With({"SetCursorPos"}).size());
  }
};

TEST_F(MouseLookTest, CursorAtTheCentreChangesNothing) {
  Cursor_At(320, 240);
  camera.Mouse_Move(640, 480);
  EXPECT_EQ(Cursor_Warps(), 0);
  EXPECT_EQ(camera.vView.x, 0);
  EXPECT_EQ(camera.vView.y, 2.5f);
  EXPECT_EQ(camera.vView.z, 0);
}

TEST_F(MouseLookTest, CursorIsPutBackAtHalfTheGivenSize) {
  struct Case {
    int width, height;
    const char* expected_warp;
  };
  for (const Case& c : {Case{640, 480, "SetCursorPos(320,240)"},
                        Case{641, 481, "SetCursorPos(320,240)"},
                        Case{1, 3, "SetCursorPos(0,1)"}}) {
    SCOPED_TRACE(c.expected_warp);
    SetUp();
    Cursor_At(100, 100);
    camera.Mouse_Move(c.width, c.height);
    EXPECT_EQ(fake::Calls_Starting_With({"SetCursorPos"}),
              std::vector<std::string>{c.expected_warp});
  }
}

TEST_F(MouseLookTest, OnePixelRightTurnsRightByAThousandthOfARadian) {
  Cursor_At(321, 240);
  camera.Mouse_Move(640, 480);
  EXPECT_NEAR(camera.vView.x, 5 * std::sin(0.001), 1e-6);
  EXPECT_NEAR(camera.vView.z, 5 - 5 * std::cos(0.001), 1e-6);
  EXPECT_EQ(camera.vView.y, 2.5f);
}

TEST_F(MouseLookTest, OnePixelUpRaisesTheViewPointByTwoThousandths) {
  Cursor_At(320, 239);
  camera.Mouse_Move(640, 480);
  EXPECT_FLOAT_EQ(camera.vView.y, 2.5f + 0.002f);
  EXPECT_NEAR(camera.vView.x, 0, 1e-7);
  EXPECT_NEAR(camera.vView.z, 0, 1e-7);
}

TEST_F(MouseLookTest, PitchStopsExactlyEightUnitsAboveOrBelowTheEye) {
  struct Case {
    const char* name;
    int cursor_y;
    float expected_offset;
  };
  for (const Case& c : {Case{"up", 0, 8}, Case{"down", 479, -8}}) {
    SCOPED_TRACE(c.name);
    SetUp();
    // One frame moves the view point by at most 0.48: keep pushing.
    for (int frame = 0; frame < 40; ++frame) {
      Cursor_At(320, c.cursor_y);
      camera.Mouse_Move(640, 480);
    }
    EXPECT_EQ(camera.vView.y, camera.vPosition.y + c.expected_offset);
  }
}

TEST_F(MouseLookTest, CursorJumpsOfAWholeScreenWordKeepTheCameraSound) {
  // The cursor can jump by up to 32767 pixels either way between frames.
  struct Case {
    int dx, dy;
  };
  const Case jumps[] = {{32767, 0},      {-32767, 0},    {0, 32767},
                        {0, -32767},     {32767, 32767}, {-32767, -32767},
                        {32767, -32767}, {-32767, 32767}};
  for (const Case& c : jumps) {
    SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
    SetUp();
    // Many frames of the same jump: errors would grow with each turn.
    for (int frame = 0; frame < 1000; ++frame) {
      Cursor_At(320 + c.dx, 240 + c.dy);
      camera.Mouse_Move(640, 480);
      const float pitch = camera.vView.y - camera.vPosition.y;
      ASSERT_TRUE(pitch >= -8 && pitch <= 8) << "frame " << frame;
      for (float value :
           {camera.vView.x, camera.vView.y, camera.vView.z, camera.vPosition.x,
            camera.vPosition.y, camera.vPosition.z})
        ASSERT_TRUE(std::isfinite(value)) << "frame " << frame;
    }
    // Turning keeps the eye where it was and the view point 5 units away
    // on the level, give or take the rounding of 1000 turns.
    EXPECT_EQ(camera.vPosition.x, 0);
    EXPECT_EQ(camera.vPosition.z, 5);
    EXPECT_NEAR(std::hypot(camera.vView.x - camera.vPosition.x,
                           camera.vView.z - camera.vPosition.z),
                5, 0.01);
    // The cursor is put back after every jump.
    EXPECT_EQ(fake::platform().cursor.x, 320);
    EXPECT_EQ(fake::platform().cursor.y, 240);
  }
}

TEST_F(MouseLookTest, WithoutACursorPositionNothingMoves) {
  fake::platform().failing_calls = {"GetCursorPos"};
  Cursor_At(0, 0);
  camera.Mouse_Move(640, 480);
  EXPECT_EQ(Cursor_Warps(), 0);
  EXPECT_EQ(camera.vView.x, 0);
  EXPECT_EQ(camera.vView.y, 2.5f);
}

}  // namespace
