// The viewer on a real X server that changes display modes (Xorg with the
// dummy driver at depth 24, offering 1024x768 and 640x480), with and
// without a window manager: what users meet on an ordinary Linux desktop.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <csignal>
#include <memory>
#include <string>

#include "tests/e2e/viewer_fixture.h"
#include "tests/e2e/window_manager.h"
#include "tests/support/xorg_server.h"

namespace {

using e2e::Client_Area;
using e2e::Size;
using test_support::Listed;
using test_support::Surface;

const std::vector<std::string> kViewer = {QUARNEL_BINARY};
constexpr Size kDesktopMode = {1024, 768};
constexpr Size kViewerMode = {640, 480};

class RealDesktopTest : public e2e::Viewer_Test {
 protected:
  void SetUp() override {
    const std::string unavailable = test_support::Xorg_Server::Unavailable();
    if (!unavailable.empty()) GTEST_SKIP() << "no Xorg: " << unavailable;
    xorg_ = std::make_unique<test_support::Xorg_Server>();
    ASSERT_FALSE(xorg_->display().empty()) << "Xorg did not start:\n"
                                           << xorg_->Log();
    xorg_->Export();
    ASSERT_TRUE(e2e::Wait_For_Mode(kDesktopMode));
    e2e::Xdotool("mousemove 320 240");
    // Crash signals below would otherwise leave core files behind.
    const rlimit no_core = {0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
  }

  // Answers Yes and waits for the full-screen frames.
  void Start_Fullscreen() {
    ASSERT_NO_FATAL_FAILURE(Start_Viewer_Answering(kViewer, "Return"));
    ASSERT_TRUE(e2e::Wait_For_Mode(kViewerMode))
        << "no 640x480 mode; stderr: " << viewer_->Errors();
    ASSERT_NO_FATAL_FAILURE(Wait_Until_Window_Drawn());
  }

  // The start frame's picture, for a client area at (left, top).
  void Expect_Start_Picture(int left, int top) {
    const e2e::Screenshot shot = e2e::Take_Screenshot();
    const auto report = test_support::Compare_With_Model(
        test_support::Start_View(), Client_Area(shot, left, top));
    EXPECT_TRUE(report.mismatches.empty()) << Listed(report.mismatches);
    EXPECT_GT(report.Matched(Surface::kSphere), 500);
    EXPECT_GT(report.Matched(Surface::kSky), 1000);
  }

  std::unique_ptr<test_support::Xorg_Server> xorg_;
};

TEST_F(RealDesktopTest, YesGivesA640x480ModeAndEscapeBringsTheDesktopBack) {
  ASSERT_NO_FATAL_FAILURE(Start_Fullscreen());
  EXPECT_FALSE(e2e::Find_Window("OPENGL")) << "the mode was refused";
  EXPECT_EQ(window_->x, 0);
  EXPECT_EQ(window_->y, 0);
  EXPECT_EQ(window_->width, 640);
  EXPECT_EQ(window_->height, 480);
  Expect_Start_Picture(0, 0);

  ASSERT_TRUE(e2e::Xdotool("key Escape"));
  Expect_Exit_Code(0);
  EXPECT_TRUE(e2e::Wait_For_Mode(kDesktopMode));
}

// Each press of F1 switches once, however long it is held (X repeats the
// key meanwhile, and the window is made anew under it) and however short.
TEST_F(RealDesktopTest, EachF1PressSwitchesOnce) {
  ASSERT_TRUE(e2e::Xdotool("mousemove 320 240"));
  ASSERT_EQ(std::system("xset r on"), 0);
  ASSERT_NO_FATAL_FAILURE(Start_Viewer_Answering(kViewer, "Escape"));  // No
  ASSERT_NO_FATAL_FAILURE(Wait_Until_Window_Drawn());

  struct Step {
    const char* press;
    Size expected_mode;
  };
  const Step steps[] = {
      {"keydown F1 sleep 2 keyup F1", kViewerMode},  // held: full-screen
      {"key F1", kDesktopMode},                      // tapped: windowed
      {"key F1", kViewerMode},
      {"keydown F1 sleep 2 keyup F1", kDesktopMode},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.press);
    ASSERT_TRUE(e2e::Xdotool(step.press));
    EXPECT_TRUE(e2e::Wait_For_Mode(step.expected_mode));
    e2e::Sleep(1);  // no second switch comes late
    EXPECT_EQ(e2e::Monitor_Mode(), step.expected_mode);
    const auto window = e2e::Wait_For_Window(e2e::kTitle);
    ASSERT_TRUE(window) << viewer_->Errors();
    EXPECT_TRUE(e2e::Wait_Until_Drawn(*window));
  }
  EXPECT_FALSE(e2e::Find_Window("OPENGL"));

  ASSERT_TRUE(e2e::Xdotool("key Escape"));
  Expect_Exit_Code(0);
  EXPECT_TRUE(e2e::Wait_For_Mode(kDesktopMode));
}

// However the viewer ends, the desktop gets its own mode back within
// seconds, and nothing of the viewer stays behind.
TEST_F(RealDesktopTest, EveryEndRestoresTheDesktopsMode) {
  struct Case {
    const char* name;
    int signal_number;
    int exit_code;
  };
  const Case cases[] = {
      {"SIGHUP: the terminal closed", SIGHUP, 0},
      {"SIGQUIT", SIGQUIT, 128 + SIGQUIT},
      {"SIGSEGV", SIGSEGV, 128 + SIGSEGV},
      {"SIGABRT", SIGABRT, 128 + SIGABRT},
      {"SIGKILL", SIGKILL, 128 + SIGKILL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    e2e::Xdotool("mousemove 320 240");
    ASSERT_NO_FATAL_FAILURE(Start_Fullscreen());
    const int group = viewer_->Process_Id();
    const std::vector<int> children = e2e::Children_Of(group);
    viewer_->Signal(c.signal_number);
    Expect_Exit_Code(c.exit_code);
    EXPECT_TRUE(e2e::Wait_For_Mode(kDesktopMode, 5));
    EXPECT_TRUE(e2e::Wait_Until_Gone(e2e::kTitle, 5));
    EXPECT_TRUE(e2e::Wait_Until_Ended(children, 5));
    EXPECT_EQ(e2e::Process_Group(group), std::vector<int>{});
  }
}

TEST_F(RealDesktopTest, UnderAWindowManagerTheWindowedViewerWorks) {
  const e2e::Window_Manager window_manager;
  ASSERT_EQ(window_manager.problem(), "");
  ASSERT_TRUE(e2e::Xdotool("mousemove 320 240"));
  ASSERT_NO_FATAL_FAILURE(Start_Viewer_Answering(kViewer, "Escape"));  // No
  const auto window = e2e::Wait_For_Window(e2e::kTitle);
  ASSERT_TRUE(window) << viewer_->Errors();
  // Framing moves the client area: look for it only once framed.
  ASSERT_TRUE(e2e::Wait_Until_Framed(*window));
  ASSERT_NO_FATAL_FAILURE(Wait_Until_Window_Drawn());

  // The frame is the window manager's; the client area is the viewer's.
  EXPECT_EQ(window_->width, 640);
  EXPECT_EQ(window_->height, 480);
  Expect_Start_Picture(window_->x, window_->y);
  const e2e::Point cursor = e2e::Cursor_Position();
  EXPECT_EQ(cursor.x, 320);
  EXPECT_EQ(cursor.y, 240);

  ASSERT_TRUE(e2e::Ask_Window_Manager_To_Close(*window_));
  Expect_Exit_Code(0);
  EXPECT_EQ(e2e::Monitor_Mode(), kDesktopMode);
}

}  // namespace
