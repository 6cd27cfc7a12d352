// The real viewer on a private X server, driven as a person would drive it.
#include <gtest/gtest.h>

#include <csignal>
#include <cmath>
#include <memory>
#include <string>

#include "tests/e2e/desktop.h"
#include "tests/e2e/viewer_process.h"
#include "tests/support/frame_checks.h"
#include "tests/support/xvfb_server.h"

namespace {

using e2e::Press_Key_In;
using e2e::Wait_For_Window;
using test_support::Surface;

const std::vector<std::string> kViewer = {QUARNEL_BINARY};
const char kTitle[] = "Quarnel - By Dobrisk";
const char kStartQuestion[] = "Start FullScreen?";

using test_support::Listed;

test_support::Pixel_Source Client_Area(const e2e::Screenshot& shot) {
  return [&shot](int column, int row) { return shot.At_Gl(column, row); };
}

class ViewerTest : public ::testing::Test {
 protected:
  void Start_Desktop(const std::string& screen) {
    server_ = std::make_unique<test_support::Xvfb_Server>(screen);
    ASSERT_FALSE(server_->display().empty()) << "Xvfb did not start";
    server_->Export();
    // Where the viewer holds the cursor, so that its first frame turns
    // nothing.
    e2e::Xdotool("mousemove 320 240");
  }

  // Starts the viewer and answers its first question.
  void Start_Viewer(const std::string& answer) {
    viewer_ = std::make_unique<e2e::Viewer_Process>(kViewer);
    const auto question = Wait_For_Window(kStartQuestion);
    ASSERT_TRUE(question) << "no start question; stderr: " << viewer_->Errors();
    ASSERT_TRUE(Press_Key_In(*question, answer));
  }

  void Start_Windowed() {
    Start_Desktop("1024x768x24");
    Start_Viewer("Escape");  // No
    window_ = Wait_For_Window(kTitle);
    ASSERT_TRUE(window_) << "no window; stderr: " << viewer_->Errors();
    ASSERT_TRUE(e2e::Wait_Until_Drawn(*window_)) << viewer_->Errors();
    e2e::Sleep(0.2);  // a few frames more
  }

  void Expect_Exit_Code(int expected) {
    const auto code = viewer_->Wait_For_Exit();
    ASSERT_TRUE(code) << "the viewer did not end";
    EXPECT_EQ(*code, expected) << viewer_->Errors();
  }

  std::unique_ptr<test_support::Xvfb_Server> server_;
  std::unique_ptr<e2e::Viewer_Process> viewer_;
  std::optional<e2e::Window_Info> window_;
};

TEST_F(ViewerTest, AnsweredNoShowsTheSceneInA640x480WindowAtTheOrigin) {
  Start_Windowed();
  EXPECT_EQ(window_->x, 0);
  EXPECT_EQ(window_->y, 0);
  EXPECT_EQ(window_->width, 640);
  EXPECT_EQ(window_->height, 480);

  const e2e::Screenshot shot = e2e::Take_Screenshot();
  ASSERT_EQ(shot.width, 1024);
  const test_support::View view = test_support::Start_View();
  const auto report = test_support::Compare_With_Model(view, Client_Area(shot));
  EXPECT_TRUE(report.mismatches.empty()) << Listed(report.mismatches);
  EXPECT_GT(report.Matched(Surface::kSky), 1000);
  EXPECT_GT(report.Matched(Surface::kSphere), 500);
  for (double corner_x : {-1.0, 1.0}) {
    const auto corner = test_support::Compare_Front_Top_Corner(
        view, corner_x, Client_Area(shot));
    EXPECT_TRUE(corner.mismatches.empty()) << Listed(corner.mismatches);
    EXPECT_GT(corner.Matched(Surface::kCubeFront), 50);
    EXPECT_GT(corner.Matched(Surface::kCubeTop), 10);
  }
  const auto grid = test_support::Check_Grid_Rows(view, Client_Area(shot));
  EXPECT_TRUE(grid.empty()) << Listed(grid);
  EXPECT_EQ(e2e::Cursor_Position().x, 320);
  EXPECT_EQ(e2e::Cursor_Position().y, 240);

  // For the README.
  e2e::Save_Client_Area(QUARNEL_SCREENSHOT_DIR "/start-frame.png");
}

TEST_F(ViewerTest, HoldingForwardWalksTowardsTheSphere) {
  for (const char* key : {"w", "Up"}) {
    SCOPED_TRACE(key);
    Start_Windowed();
    const int violet_before =
        e2e::Violet_Pixels(e2e::Take_Screenshot(), *window_);

    // Short holds, each across several frames, until the sphere has grown:
    // the frame rate, and so the walking speed, depends on the machine.
    int violet_after = violet_before;
    for (int hold = 0; hold < 20 && violet_after < violet_before * 1.1;
         ++hold) {
      e2e::Xdotool(std::string("keydown ") + key + " sleep 0.05 keyup " + key);
      e2e::Sleep(0.1);
      violet_after = e2e::Violet_Pixels(e2e::Take_Screenshot(), *window_);
    }
    EXPECT_GT(violet_after, violet_before * 1.1);

    ASSERT_TRUE(e2e::Xdotool("key Escape"));
    Expect_Exit_Code(0);
  }
}

TEST_F(ViewerTest, MovingTheMouseTurnsTheViewAndTheCursorGoesBack) {
  Start_Windowed();

  // 100 pixels right and 50 up: a turn of 0.1 radian to the right and the
  // view point raised by 2 x 0.05 units.
  ASSERT_TRUE(e2e::Xdotool("mousemove 420 190"));
  e2e::Sleep(0.5);
  const e2e::Point cursor = e2e::Cursor_Position();
  EXPECT_EQ(cursor.x, 320);
  EXPECT_EQ(cursor.y, 240);

  test_support::View turned = test_support::Start_View();
  turned.centre = {5 * std::sin(0.1), 2.5 + 0.1, 5 - 5 * std::cos(0.1)};
  const auto report = test_support::Compare_With_Model(
      turned, Client_Area(e2e::Take_Screenshot()));
  EXPECT_TRUE(report.mismatches.empty()) << Listed(report.mismatches);
  EXPECT_GT(report.Matched(Surface::kSphere), 500);
}

TEST_F(ViewerTest, EscapeEndsWithZeroAndTheWindowGoes) {
  Start_Windowed();
  ASSERT_TRUE(e2e::Xdotool("key Escape"));
  Expect_Exit_Code(0);
  EXPECT_FALSE(e2e::Find_Window(kTitle));
}

TEST_F(ViewerTest, CloseButtonEndsWithZero) {
  Start_Windowed();
  ASSERT_TRUE(e2e::Send_Close_Request(*window_));
  Expect_Exit_Code(0);
  EXPECT_FALSE(e2e::Find_Window(kTitle));
}

TEST_F(ViewerTest, InterruptAndTerminateEndThroughTheNormalQuit) {
  for (int signal_number : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal_number == SIGINT ? "SIGINT" : "SIGTERM");
    Start_Windowed();
    viewer_->Signal(signal_number);
    Expect_Exit_Code(0);
    EXPECT_TRUE(e2e::Wait_Until_Gone(kTitle, 2));
  }
}

TEST_F(ViewerTest, CtrlCWhileAQuestionIsOpenEndsTheProgram) {
  Start_Desktop("1024x768x24");
  viewer_ = std::make_unique<e2e::Viewer_Process>(kViewer);
  ASSERT_TRUE(Wait_For_Window(kStartQuestion));
  viewer_->Interrupt_Job();
  ASSERT_TRUE(viewer_->Wait_For_Exit()) << "the question held the program";
  EXPECT_TRUE(e2e::Wait_Until_Gone(kStartQuestion, 2));
}

TEST_F(ViewerTest, RefusedFullscreenModeAsksWhetherToRunWindowed) {
  struct Case {
    const char* name;
    const char* answer;
    bool expect_window;
  };
  for (const Case& c : {Case{"Yes: windowed", "Return", true},
                        Case{"No: the program closes", "Escape", false}}) {
    SCOPED_TRACE(c.name);
    Start_Desktop("1024x768x24");  // offers no 640 x 480 mode
    Start_Viewer("Return");        // Yes, full-screen
    const auto fallback = Wait_For_Window("OPENGL");
    ASSERT_TRUE(fallback) << viewer_->Errors();
    ASSERT_TRUE(Press_Key_In(*fallback, c.answer));

    if (c.expect_window) {
      const auto window = Wait_For_Window(kTitle);
      ASSERT_TRUE(window) << viewer_->Errors();
      EXPECT_EQ(window->width, 640);
      EXPECT_EQ(window->height, 480);
      e2e::Sleep(0.3);
      ASSERT_TRUE(e2e::Xdotool("key Escape"));
      Expect_Exit_Code(0);
    } else {
      const auto closing = Wait_For_Window("ERROR");
      ASSERT_TRUE(closing) << "no \"Program Will Now Close.\" box";
      EXPECT_FALSE(e2e::Find_Window(kTitle));
      ASSERT_TRUE(Press_Key_In(*closing, "Return"));
      const auto code = viewer_->Wait_For_Exit();
      ASSERT_TRUE(code);
      EXPECT_NE(*code, 0);
    }
  }
}

TEST_F(ViewerTest, AnsweredYesOnA640x480x16DisplayRunsFullscreen) {
  Start_Desktop("640x480x16");
  Start_Viewer("Return");
  const auto window = Wait_For_Window(kTitle);
  ASSERT_TRUE(window) << viewer_->Errors();
  EXPECT_FALSE(e2e::Find_Window("OPENGL")) << "the mode was refused";
  EXPECT_EQ(window->x, 0);
  EXPECT_EQ(window->y, 0);
  EXPECT_EQ(window->width, 640);
  EXPECT_EQ(window->height, 480);
  ASSERT_TRUE(e2e::Wait_Until_Drawn(*window));
  e2e::Sleep(0.2);

  // 16-bit colour: compare with a wider tolerance.
  const e2e::Screenshot shot = e2e::Take_Screenshot();
  ASSERT_EQ(shot.width, 640);
  int sphere_pixels = 0;
  for (int row = 4; row < 476; row += 6)
    for (int column = 4; column < 636; column += 6) {
      const auto surface =
          test_support::Stable_Trace(test_support::Start_View(), column, row);
      if (surface == Surface::kSphere)
        sphere_pixels +=
            test_support::Near(shot.At_Gl(column, row), {255, 0, 255}, 8);
    }
  EXPECT_GT(sphere_pixels, 500);

  ASSERT_TRUE(e2e::Xdotool("key Escape"));
  Expect_Exit_Code(0);
}

TEST_F(ViewerTest, WithoutADisplayItSaysSoAndFails) {
  viewer_ = std::make_unique<e2e::Viewer_Process>(kViewer,
                                                  /*with_display=*/false);
  const auto code = viewer_->Wait_For_Exit();
  ASSERT_TRUE(code) << "the viewer hung without a display";
  EXPECT_NE(*code, 0);
  EXPECT_NE(viewer_->Errors().find("X display"), std::string::npos)
      << viewer_->Errors();
}

}  // namespace
