// The real viewer on a private X server, driven as a person would drive it.
#include <gtest/gtest.h>

#include <csignal>
#include <cmath>
#include <memory>
#include <string>

#include "tests/e2e/viewer_fixture.h"

namespace {

using e2e::Client_Area;
using e2e::kStartQuestion;
using e2e::kTitle;
using e2e::Press_Key_In;
using e2e::Wait_For_Window;
using test_support::Listed;
using test_support::Surface;

const std::vector<std::string> kViewer = {QUARNEL_BINARY};

class ViewerTest : public e2e::Viewer_Test {
 protected:
  void Start_And_Answer(const std::string& key) {
    Start_Viewer_Answering(kViewer, key);
  }
  void Start_Windowed() {
    ASSERT_NO_FATAL_FAILURE(Start_Xvfb());
    ASSERT_NO_FATAL_FAILURE(Start_And_Answer("Escape"));  // No
    ASSERT_NO_FATAL_FAILURE(Wait_Until_Window_Drawn());
  }
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
  Start_Xvfb("1024x768x24");
  Start_Viewer(kViewer);
  viewer_->Interrupt_Job();
  ASSERT_TRUE(viewer_->Wait_For_Exit()) << "the question held the program";
  EXPECT_TRUE(e2e::Wait_Until_Gone(kStartQuestion, 2));
}

// Whichever box is open and whichever signal ends the viewer, neither the
// box's window nor any process of the viewer's stays behind.
TEST_F(ViewerTest, NothingOutlivesTheViewerWhenASignalEndsItDuringABox) {
  struct Answer {
    const char* box;
    const char* key;
  };
  struct Box {
    const char* caption;
    std::vector<Answer> answers_before;  // to reach it
  };
  const Box boxes[] = {
      {kStartQuestion, {}},
      {"OPENGL", {{kStartQuestion, "Return"}}},  // full-screen refused
      {"ERROR", {{kStartQuestion, "Return"}, {"OPENGL", "Escape"}}},
  };
  for (const Box& box : boxes) {
    for (int signal_number : {SIGTERM, SIGHUP, SIGKILL}) {
      SCOPED_TRACE(std::string(box.caption) + ", signal " +
                   std::to_string(signal_number));
      Start_Xvfb("1024x768x24");  // offers no 640 x 480 mode
      Start_Viewer(kViewer);
      for (const Answer& answer : box.answers_before) {
        const auto earlier = Wait_For_Window(answer.box);
        ASSERT_TRUE(earlier) << viewer_->Errors();
        ASSERT_TRUE(Press_Key_In(*earlier, answer.key));
        ASSERT_TRUE(e2e::Wait_Until_Gone(answer.box));
      }
      ASSERT_TRUE(Wait_For_Window(box.caption)) << viewer_->Errors();
      const int group = viewer_->Process_Id();
      viewer_->Signal(signal_number);
      ASSERT_TRUE(viewer_->Wait_For_Exit()) << "the box held the viewer";
      EXPECT_TRUE(e2e::Wait_Until_Gone(box.caption, 2));
      EXPECT_TRUE(e2e::Wait_Until_Ended(e2e::Process_Group(group), 2));
    }
  }
}

// A box closed by the window manager's close button is answered as Escape
// answers it: No to a question, OK to a message; nothing goes to stderr.
TEST_F(ViewerTest, ClosingABoxAnswersItCautiously) {
  Start_Xvfb("1024x768x24");   // offers no 640 x 480 mode
  Start_And_Answer("Return");  // Yes, full-screen: refused
  auto fallback = Wait_For_Window("OPENGL");
  ASSERT_TRUE(fallback) << viewer_->Errors();
  ASSERT_TRUE(e2e::Send_Close_Request(*fallback));  // No: the program closes
  const auto closing = Wait_For_Window("ERROR");
  ASSERT_TRUE(closing) << "no \"Program Will Now Close.\" box";
  ASSERT_TRUE(e2e::Send_Close_Request(*closing));  // OK
  const auto code = viewer_->Wait_For_Exit();
  ASSERT_TRUE(code);
  EXPECT_NE(*code, 0);
  EXPECT_FALSE(e2e::Find_Window(kTitle));
  EXPECT_EQ(viewer_->Errors(), "");

  Start_Viewer(kViewer);
  ASSERT_TRUE(e2e::Send_Close_Request(*question_));  // No: windowed
  ASSERT_NO_FATAL_FAILURE(Wait_Until_Window_Drawn());
  EXPECT_FALSE(e2e::Find_Window("OPENGL")) << "closing it answered Yes";
  ASSERT_TRUE(e2e::Xdotool("key Escape"));
  Expect_Exit_Code(0);
  EXPECT_EQ(viewer_->Errors(), "");
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
    Start_Xvfb("1024x768x24");   // offers no 640 x 480 mode
    Start_And_Answer("Return");  // Yes, full-screen
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
  Start_Xvfb("640x480x16");
  Start_And_Answer("Return");
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

TEST_F(ViewerTest, AWindowAskedToGrowPastTheDesktopKeepsToItAndDraws) {
  // No window manager here: xdotool resizes the window directly, as any
  // client may. Past 32704 pixels square Mesa's software renderer crashed.
  struct Case {
    int asked_width, asked_height;
    int kept_width, kept_height;  // within the 1024 x 768 desktop
  };
  Start_Windowed();
  for (const Case& c :
       {Case{32767, 32767, 1024, 768}, Case{32767, 600, 1024, 600},
        Case{800, 20000, 800, 768}}) {
    SCOPED_TRACE(std::to_string(c.asked_width) + "x" +
                 std::to_string(c.asked_height));
    ASSERT_TRUE(e2e::Xdotool("windowsize " + std::to_string(window_->id) + " " +
                             std::to_string(c.asked_width) + " " +
                             std::to_string(c.asked_height)));
    const auto resized = e2e::Poll(5, [&]() -> std::optional<e2e::Window_Info> {
      const auto now = e2e::Find_Window(kTitle);
      if (now && now->width == c.kept_width && now->height == c.kept_height)
        return now;
      return std::nullopt;
    });
    ASSERT_FALSE(viewer_->Wait_For_Exit(0))
        << "exit " << *viewer_->Wait_For_Exit(0) << "; " << viewer_->Errors();
    const auto now = e2e::Find_Window(kTitle);
    ASSERT_TRUE(resized) << "the window is "
                         << (now ? std::to_string(now->width) + "x" +
                                       std::to_string(now->height)
                                 : std::string("gone"));

    // The scene fills the window kept, in its proportions, once the viewer
    // has drawn at that size.
    test_support::View view = test_support::Start_View();
    view.width = c.kept_width;
    view.height = c.kept_height;
    test_support::Frame_Report report;
    e2e::Poll(5, [&] {
      const e2e::Screenshot shot = e2e::Take_Screenshot();
      report = test_support::Compare_With_Model(view, [&](int column, int row) {
        return shot.At(column, c.kept_height - 1 - row);
      });
      return report.mismatches.empty();
    });
    EXPECT_TRUE(report.mismatches.empty()) << Listed(report.mismatches);
    EXPECT_GT(report.Matched(Surface::kSphere), 500);
    ASSERT_FALSE(viewer_->Wait_For_Exit(0)) << viewer_->Errors();
  }
  ASSERT_TRUE(e2e::Xdotool("key Escape"));
  Expect_Exit_Code(0);
}

TEST_F(ViewerTest, WithoutADisplayOrAWindowingDriverItSaysSoBeforeAsking) {
  struct Case {
    const char* name;
    bool with_display;
    const char* video_driver;  // null: the viewer's own choice
  };
  // SDL's dummy and offscreen drivers show nothing, so a question would go
  // unseen and no window could follow.
  for (const Case& c :
       {Case{"no DISPLAY", false, nullptr}, Case{"dummy driver", true, "dummy"},
        Case{"offscreen driver", true, "offscreen"}}) {
    SCOPED_TRACE(c.name);
    if (c.with_display) {
      ASSERT_NO_FATAL_FAILURE(Start_Xvfb());
    }
    if (c.video_driver) setenv("SDL_VIDEODRIVER", c.video_driver, 1);
    viewer_ = std::make_unique<e2e::Viewer_Process>(kViewer, c.with_display);
    unsetenv("SDL_VIDEODRIVER");
    const auto code = viewer_->Wait_For_Exit();
    ASSERT_TRUE(code) << "the viewer hung";
    EXPECT_NE(*code, 0);
    const std::string errors = viewer_->Errors();
    EXPECT_NE(errors.find("Quarnel cannot start: it needs an X display"),
              std::string::npos)
        << errors;
    EXPECT_EQ(errors.find(kStartQuestion), std::string::npos) << errors;
    if (c.with_display) {
      EXPECT_FALSE(e2e::Find_Window(kStartQuestion));
    }
  }
}

}  // namespace
