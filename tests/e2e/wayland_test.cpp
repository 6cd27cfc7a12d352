// The real viewer on a Wayland desktop (weston, through its XWayland),
// driven through the outer X server as a person's mouse and keyboard would
// drive the compositor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/desktop.h"
#include "tests/e2e/viewer_fixture.h"
#include "tests/support/frame_checks.h"
#include "tests/support/weston_desktop.h"

namespace {

using e2e::kTitle;
using test_support::Listed;
using test_support::Surface;
using test_support::Weston_Desktop;

const std::vector<std::string> kViewer = {QUARNEL_BINARY};
constexpr int kPanelHeight = 32;  // weston's panel, with its clock

// Where weston's pointer waits while the viewer starts. A 640 x 480 window
// covers this point wherever weston places it on the desktop, so the window
// comes up under a still pointer and no motion reaches it before the test
// makes some.
constexpr e2e::Point kPointerHome = {512, 400};

// Points DISPLAY at another server while it lives: the desktop helpers act
// on whichever server DISPLAY names.
class Scoped_Display {
 public:
  explicit Scoped_Display(const std::string& display)
      : previous_(std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") {
    setenv("DISPLAY", display.c_str(), 1);
  }
  ~Scoped_Display() { setenv("DISPLAY", previous_.c_str(), 1); }

 private:
  std::string previous_;
};

// A window's area of a screenshot, rows counted from the bottom as in GL.
test_support::Pixel_Source Area_Of(const e2e::Screenshot& shot,
                                   const e2e::Window_Info& window) {
  return [&shot, window](int column, int row) {
    return shot.At(window.x + column, window.y + window.height - 1 - row);
  };
}

test_support::View Sized_View(const e2e::Window_Info& window) {
  test_support::View view = test_support::Start_View();
  view.width = window.width;
  view.height = window.height;
  return view;
}

// The start view turned right by `angle` radians, level.
test_support::View Turned_Right(test_support::View view, double angle) {
  view.centre = {5 * std::sin(angle), 2.5, 5 - 5 * std::cos(angle)};
  return view;
}

// Near-white pixels: the arrow's body; the scene has no such colour.
int White_Pixels_Around(const e2e::Screenshot& shot, e2e::Point at) {
  int count = 0;
  for (int y = at.y - 4; y < at.y + 28; ++y)
    for (int x = at.x - 4; x < at.x + 28; ++x)
      count += test_support::Near(shot.At(x, y), {255, 255, 255}, 24);
  return count;
}

// Pixels below weston's panel (whose clock moves on) that differ.
int Desktop_Changes(const e2e::Screenshot& before,
                    const e2e::Screenshot& after) {
  int changed = 0;
  for (int y = kPanelHeight; y < before.height && y < after.height; ++y)
    for (int x = 0; x < before.width && x < after.width; ++x)
      changed += !test_support::Near(before.At(x, y), after.At(x, y), 1);
  return changed;
}

class WaylandTest : public e2e::Viewer_Test {
 protected:
  void SetUp() override {
    if (!Weston_Desktop::Is_Installed())
      GTEST_SKIP() << "weston or Xwayland is not installed; "
                      "scripts/install-deps.sh installs both";
    desktop_ = std::make_unique<Weston_Desktop>();
    ASSERT_TRUE(desktop_->failure().empty())
        << desktop_->failure() << "\nweston's log:\n"
        << desktop_->Log();
    // The viewer and the window listing use XWayland's display.
    setenv("DISPLAY", desktop_->xwayland_display().c_str(), 1);
    // Weston follows the outer pointer's motion: pin it at the corner, then
    // bring it to its place. Weston is ready for the viewer once its
    // desktop, pointer and all, is drawn and has stopped fading in; it draws
    // no pointer before motion reaches its window.
    for (int tries = 0; tries < 50 && !Desktop_Is_Drawn(); ++tries) {
      ASSERT_TRUE(Outer_Xdotool("mousemove --sync 0 0"));
      ASSERT_TRUE(Outer_Xdotool("mousemove --sync " +
                                std::to_string(kPointerHome.x) + " " +
                                std::to_string(kPointerHome.y)));
      e2e::Sleep(0.2);
    }
    ASSERT_TRUE(Desktop_Is_Drawn()) << "weston shows no desktop or pointer";
  }

  // Weston fills its output with red until its shell has drawn the
  // desktop's background and panel, then fades them in.
  bool Desktop_Is_Drawn() {
    const e2e::Screenshot previous = std::move(last_desktop_);
    last_desktop_ = Screenshot();
    const e2e::Screenshot& shot = last_desktop_;
    return shot.width == Weston_Desktop::kWidth &&
           !test_support::Near(shot.At(5, kPanelHeight + 5), {255, 0, 0}) &&
           White_Pixels_Around(shot, kPointerHome) > 20 &&
           previous.width == shot.width && Desktop_Changes(previous, shot) == 0;
  }

  bool Outer_Xdotool(const std::string& arguments) {
    Scoped_Display outer(desktop_->outer_display());
    return e2e::Xdotool(arguments);
  }

  // What weston shows: XWayland's own root holds no picture.
  e2e::Screenshot Screenshot() {
    Scoped_Display outer(desktop_->outer_display());
    return e2e::Take_Screenshot();
  }

  // Starts the viewer and answers its first question with a key, typed as
  // a person would type it.
  void Start_Viewer_Typing(const std::string& answer) {
    ASSERT_NO_FATAL_FAILURE(Start_Viewer(kViewer));
    e2e::Sleep(0.3);  // until weston has given the box the keyboard
    ASSERT_TRUE(Outer_Xdotool("key " + answer));
  }

  // The viewer's window once it is drawn, wherever weston put it. The
  // window is listed where it was asked for until weston has placed it, so
  // its place is read anew each time.
  void Wait_For_Drawn_Window() {
    ASSERT_TRUE(e2e::Wait_For_Window(kTitle))
        << "no window; stderr: " << viewer_->Errors();
    window_ = Wait_For_Window_That([this](const e2e::Window_Info& w) {
      return e2e::Violet_Pixels(Screenshot(), w) > 1000;
    });
    ASSERT_TRUE(window_ && e2e::Violet_Pixels(Screenshot(), *window_) > 1000)
        << "not drawn; stderr: " << viewer_->Errors();
    std::printf("window at (%d,%d), %dx%d\n", window_->x, window_->y,
                window_->width, window_->height);
  }

  void Start_Windowed() {
    ASSERT_NO_FATAL_FAILURE(Start_Viewer_Typing("Escape"));  // No
    ASSERT_NO_FATAL_FAILURE(Wait_For_Drawn_Window());
  }

  // The viewer's window shows this view. Weston may take a few frames to
  // place the window and show what the viewer drew, so the window is looked
  // up and the comparison tried again until it holds.
  void Expect_Picture(const test_support::View& view) {
    test_support::Frame_Report report;
    for (int tries = 0; tries < 25; ++tries) {
      const e2e::Screenshot shot = Screenshot();
      ASSERT_EQ(shot.width, Weston_Desktop::kWidth);
      window_ = e2e::Find_Window(kTitle);
      ASSERT_TRUE(window_) << "the window is gone";
      report = test_support::Compare_With_Model(view, Area_Of(shot, *window_));
      if (report.mismatches.empty()) break;
      e2e::Sleep(0.2);
    }
    EXPECT_TRUE(report.mismatches.empty())
        << "window at (" << window_->x << "," << window_->y << ")\n"
        << Listed(report.mismatches);
    EXPECT_GT(report.Matched(Surface::kSphere), 500);
  }

  // The viewer's window once it is as wanted.
  template <typename Wanted>
  std::optional<e2e::Window_Info> Wait_For_Window_That(Wanted wanted) {
    std::optional<e2e::Window_Info> now;
    for (int tries = 0; tries < 100; ++tries) {
      now = e2e::Find_Window(kTitle);
      if (now && wanted(*now)) break;
      e2e::Sleep(0.1);
    }
    return now;
  }

  std::unique_ptr<Weston_Desktop> desktop_;
  e2e::Screenshot last_desktop_;
};

TEST_F(WaylandTest,
       TheStartQuestionIsAnsweredAndTheSceneIsRightWhereverItLands) {
  ASSERT_NO_FATAL_FAILURE(Start_Windowed());
  // Weston, not the viewer, chooses the place: elsewhere than the origin
  // the viewer asks for.
  EXPECT_FALSE(window_->x == 0 && window_->y == 0);
  EXPECT_EQ(window_->width, 640);
  EXPECT_EQ(window_->height, 480);
  const test_support::View view = Sized_View(*window_);
  Expect_Picture(view);
  const auto grid =
      test_support::Check_Grid_Rows(view, Area_Of(Screenshot(), *window_));
  EXPECT_TRUE(grid.empty()) << Listed(grid);
}

TEST_F(WaylandTest, NoArrowOverTheView) {
  // Weston draws its pointer into its own picture, where the screenshot
  // sees it; the pointer lies over the viewer's window.
  const int arrow_on_the_desktop =
      White_Pixels_Around(Screenshot(), kPointerHome);
  ASSERT_GT(arrow_on_the_desktop, 20) << "the arrow cannot be told apart";
  ASSERT_NO_FATAL_FAILURE(Start_Windowed());
  EXPECT_EQ(White_Pixels_Around(Screenshot(), kPointerHome), 0);
}

TEST_F(WaylandTest, MovingTheMouseRightTurnsTheViewRightAndMovingBackReturns) {
  ASSERT_NO_FATAL_FAILURE(Start_Windowed());
  const test_support::View start = Sized_View(*window_);
  struct Case {
    const char* name;
    std::vector<int> steps;  // pixels right, one motion each
  };
  for (const Case& c : {Case{"one move of 100 px", {100}},
                        Case{"five moves of 20 px", {20, 20, 20, 20, 20}},
                        Case{"five moves of 5 px", {5, 5, 5, 5, 5}}}) {
    SCOPED_TRACE(c.name);
    int total = 0;
    for (int step : c.steps) {
      ASSERT_TRUE(Outer_Xdotool("mousemove_relative --sync -- " +
                                std::to_string(step) + " 0"));
      total += step;
      e2e::Sleep(0.1);
    }
    e2e::Sleep(0.4);
    // One radian for every 1000 pixels, and no tilt from a level move.
    Expect_Picture(Turned_Right(start, total / 1000.0));

    ASSERT_TRUE(Outer_Xdotool("mousemove_relative --sync -- " +
                              std::to_string(-total) + " 0"));
    e2e::Sleep(0.5);
    Expect_Picture(start);
  }
}

TEST_F(WaylandTest, FullscreenCoversTheScreenAndEscapeRestoresTheDesktop) {
  const e2e::Window_Info screen = {0, 0, 0, Weston_Desktop::kWidth,
                                   Weston_Desktop::kHeight};
  struct Case {
    const char* name;
    bool by_f1;  // else by answering Yes at the start
  };
  for (const Case& c : {Case{"Yes at the start", false}, Case{"F1", true}}) {
    SCOPED_TRACE(c.name);
    const e2e::Screenshot desktop = Screenshot();
    if (c.by_f1) {
      ASSERT_NO_FATAL_FAILURE(Start_Windowed());
      ASSERT_TRUE(Outer_Xdotool("key F1"));
    } else {
      ASSERT_NO_FATAL_FAILURE(Start_Viewer_Typing("Return"));  // Yes
    }
    // Weston does not scale a window up to an emulated mode: the viewer's
    // window takes the screen's size.
    window_ = Wait_For_Window_That([](const e2e::Window_Info& w) {
      return w.x == 0 && w.y == 0 && w.width == Weston_Desktop::kWidth &&
             w.height == Weston_Desktop::kHeight;
    });
    ASSERT_TRUE(window_) << viewer_->Errors();
    EXPECT_FALSE(e2e::Find_Window("OPENGL")) << "full-screen was refused";
    EXPECT_EQ(window_->x, 0);
    EXPECT_EQ(window_->y, 0);
    EXPECT_EQ(window_->width, Weston_Desktop::kWidth);
    EXPECT_EQ(window_->height, Weston_Desktop::kHeight);

    // The whole screen shows the scene as a view of the screen's size.
    Expect_Picture(Sized_View(screen));
    EXPECT_EQ(White_Pixels_Around(Screenshot(), kPointerHome), 0);

    if (c.by_f1) {  // and back into a window
      ASSERT_TRUE(Outer_Xdotool("key F1"));
      window_ = Wait_For_Window_That([](const e2e::Window_Info& w) {
        return w.width == 640 && w.height == 480;
      });
      ASSERT_TRUE(window_);
      EXPECT_EQ(window_->width, 640);
      EXPECT_EQ(window_->height, 480);
      Expect_Picture(Sized_View(*window_));  // wherever weston puts it now
    }

    ASSERT_TRUE(Outer_Xdotool("key Escape"));
    Expect_Exit_Code(0);
    int changed = -1;
    for (int tries = 0; tries < 100 && changed != 0; ++tries) {
      e2e::Sleep(0.1);
      changed = Desktop_Changes(desktop, Screenshot());
    }
    EXPECT_EQ(changed, 0) << "the desktop is not as it was";
  }
}

TEST_F(WaylandTest, ForwardWalksAndEscapeEndsWithZero) {
  ASSERT_NO_FATAL_FAILURE(Start_Windowed());
  const int violet_before = e2e::Violet_Pixels(Screenshot(), *window_);
  int violet_after = violet_before;
  for (int hold = 0; hold < 20 && violet_after < violet_before * 1.1; ++hold) {
    Outer_Xdotool("keydown w sleep 0.05 keyup w");
    e2e::Sleep(0.1);
    violet_after = e2e::Violet_Pixels(Screenshot(), *window_);
  }
  EXPECT_GT(violet_after, violet_before * 1.1);

  ASSERT_TRUE(Outer_Xdotool("key Escape"));
  Expect_Exit_Code(0);
  EXPECT_TRUE(e2e::Wait_Until_Gone(kTitle, 2));
}

}  // namespace
