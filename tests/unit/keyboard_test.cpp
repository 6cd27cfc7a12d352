#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "camera/camera.h"
#include "camera/keyboard.h"
#include "tests/fake/fake_platform.h"

namespace {

constexpr float kStepDistance = 5 * 0.015f;

// Virtual keys whose codes are those of the lower-case letters 'w' and 'a':
// the letter keys are the upper-case codes only.
constexpr int kVkF8 = 0x77;
constexpr int kVkNumpad1 = 0x61;

struct Case {
  const char* name;
  std::vector<int> held;
  float expected_dx;
  float expected_dz;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class KeyboardTest : public ::testing::TestWithParam<Case> {};

TEST_P(KeyboardTest, MovesTheGlobalCameraByTheHeldKeys) {
  fake::Reset();
  objCamera.Position_Camera(0, 2.5f, 5, 0, 2.5f, 0, 0, 1, 0);
  fake::platform().held_keys.insert(GetParam().held.begin(),
                                    GetParam().held.end());

  Keyboard_Input();

  EXPECT_NEAR(objCamera.vPosition.x, GetParam().expected_dx, 1e-6);
  EXPECT_NEAR(objCamera.vPosition.z, 5 + GetParam().expected_dz, 1e-6);
  EXPECT_NEAR(objCamera.vView.x, GetParam().expected_dx, 1e-6);
  EXPECT_NEAR(objCamera.vView.z, GetParam().expected_dz, 1e-6);
  EXPECT_EQ(objCamera.vPosition.y, 2.5f);
}

INSTANTIATE_TEST_SUITE_P(
    HeldKeys, KeyboardTest,
    ::testing::Values(
        Case{"none", {}, 0, 0}, Case{"W", {'W'}, 0, -kStepDistance},
        Case{"up_arrow", {VK_UP}, 0, -kStepDistance},
        Case{"W_and_up_arrow_make_one_step", {'W', VK_UP}, 0, -kStepDistance},
        Case{"S", {'S'}, 0, kStepDistance},
        Case{"down_arrow", {VK_DOWN}, 0, kStepDistance},
        Case{"forward_and_back_cancel", {'W', 'S'}, 0, 0},
        Case{"left_arrow", {VK_LEFT}, -kStepDistance, 0},
        Case{"A", {'A'}, -kStepDistance, 0},
        Case{"right_arrow", {VK_RIGHT}, kStepDistance, 0},
        Case{"D", {'D'}, kStepDistance, 0},
        Case{"left_and_right_cancel", {'A', VK_RIGHT}, 0, 0},
        Case{"F8_and_numpad_1_do_not_move", {kVkF8, kVkNumpad1}, 0, 0}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
