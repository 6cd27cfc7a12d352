// The Windows build under Wine, on a private X server with Mesa, next to
// the Linux build: the same start frame, the same fallback question, the
// same exit code.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/viewer_fixture.h"

namespace {

using e2e::kTitle;
using e2e::Press_Key_In;
using e2e::Wait_For_Window;
using test_support::Rgb;

const std::vector<std::string> kLinuxViewer = {QUARNEL_BINARY};
const std::vector<std::string> kWindowsViewer = {QUARNEL_WINE_RUN,
                                                 QUARNEL_WINDOWS_EXE};

// At most this share of the pixels may differ between the two builds, and
// only where the Linux frame has an edge within kEdgeRadius pixels.
constexpr double kMaxDifferentShare = 0.01;
constexpr int kEdgeRadius = 2;

// A 640 x 480 client area, top row first.
struct Frame {
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[y * 640 + x]; }
};

Frame Client_Area(const e2e::Screenshot& shot, const e2e::Window_Info& window) {
  Frame frame;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      frame.pixels.push_back(shot.At(window.x + x, window.y + y));
  return frame;
}

bool Near_An_Edge(const Frame& frame, int x, int y) {
  for (int dy = -kEdgeRadius; dy <= kEdgeRadius; ++dy)
    for (int dx = -kEdgeRadius; dx <= kEdgeRadius; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= 640 || ny >= 480) continue;
      if (!test_support::Near(frame.At(nx, ny), frame.At(x, y))) return true;
    }
  return false;
}

class WineViewerTest : public e2e::Viewer_Test {
 protected:
  void SetUp() override { Start_Xvfb(); }

  // Starts a viewer and waits for its start question.
  std::optional<e2e::Window_Info> Start(
      const std::vector<std::string>& viewer) {
    e2e::Xdotool("mousemove 320 240");
    // Wine starts slowly the first time on a new display.
    Start_Viewer(viewer, 60);
    return question_;
  }

  // Waits until the window shows the scene, and returns its client area.
  Frame Drawn_Frame(const e2e::Window_Info& window) {
    EXPECT_TRUE(e2e::Wait_Until_Drawn(window, 30)) << viewer_->Errors();
    e2e::Sleep(0.3);  // a few frames more, to be sure it has settled
    return Client_Area(e2e::Take_Screenshot(), window);
  }

  // The viewer's window once it is the 640 x 480 client area. Under load,
  // Wine can show the window at its outer size, frame included, before it
  // settles.
  static std::optional<e2e::Window_Info> Wait_For_Client_Area() {
    return e2e::Poll(30, []() -> std::optional<e2e::Window_Info> {
      const auto window = e2e::Find_Window(kTitle);
      if (window && window->width == 640 && window->height == 480)
        return window;
      return std::nullopt;
    });
  }
  std::string Seen_Instead() const {
    const auto window = e2e::Find_Window(kTitle);
    return (window ? "the window is " + std::to_string(window->width) + "x" +
                         std::to_string(window->height)
                   : std::string("no window")) +
           "; " + viewer_->Errors();
  }

  // Escape in the viewer's window; Wine takes keys only in a window that
  // has the input focus.
  void Press_Escape(const e2e::Window_Info& window) {
    e2e::Xdotool("windowfocus " + std::to_string(window.id));
    e2e::Sleep(0.2);
    ASSERT_TRUE(e2e::Xdotool("key Escape"));
  }
};

TEST_F(WineViewerTest, StartFrameMatchesTheLinuxBuild) {
  // The Linux build: No is Escape in its message box.
  const auto linux_question = Start(kLinuxViewer);
  ASSERT_TRUE(linux_question) << viewer_->Errors();
  ASSERT_TRUE(Press_Key_In(*linux_question, "Escape"));
  const auto linux_window = Wait_For_Window(kTitle);
  ASSERT_TRUE(linux_window) << viewer_->Errors();
  const Frame linux_frame = Drawn_Frame(*linux_window);
  Press_Escape(*linux_window);
  Expect_Exit_Code(0, 30);

  // The Windows build: Wine's message box answers No to N. Passing the
  // pointer over the box first lets Wine know where it is, so that the
  // first frame finds it at the centre and turns nothing.
  const auto question = Start(kWindowsViewer);
  ASSERT_TRUE(question) << viewer_->Errors();
  e2e::Xdotool("mousemove " + std::to_string(question->x + 10) + " " +
               std::to_string(question->y + 10) +
               " sleep 0.2 mousemove 320 240");
  e2e::Sleep(0.2);
  ASSERT_TRUE(Press_Key_In(*question, "n"));
  const auto window = Wait_For_Client_Area();
  ASSERT_TRUE(window) << Seen_Instead();
  const Frame wine_frame = Drawn_Frame(*window);
  Press_Escape(*window);
  Expect_Exit_Code(0, 30);
  EXPECT_FALSE(e2e::Find_Window(kTitle));

  int equal = 0, away_from_edges = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      if (test_support::Near(wine_frame.At(x, y), linux_frame.At(x, y))) {
        ++equal;
      } else if (!Near_An_Edge(linux_frame, x, y)) {
        ++away_from_edges;
        if (away_from_edges <= 10)
          ADD_FAILURE() << "(" << x << "," << y << ") Linux "
                        << test_support::Text(linux_frame.At(x, y)) << ", Wine "
                        << test_support::Text(wine_frame.At(x, y));
      }
    }
  const int total = 640 * 480;
  std::cout << "Wine and Linux start frames: " << equal << " of " << total
            << " pixels equal (" << 100.0 * equal / total << " %), "
            << total - equal << " differ, " << away_from_edges
            << " of those away from edges\n";
  RecordProperty("equal_pixels", equal);
  EXPECT_GE(equal, total * (1 - kMaxDifferentShare));
  EXPECT_EQ(away_from_edges, 0);
  // And what both show is the start frame, not some other view.
  const auto report = test_support::Compare_With_Model(
      test_support::Start_View(),
      [&](int column, int row) { return linux_frame.At(column, 479 - row); });
  EXPECT_TRUE(report.mismatches.empty()) << report.mismatches.front();
  EXPECT_GT(report.Matched(test_support::Surface::kSphere), 500);
}

TEST_F(WineViewerTest, RefusedFullscreenModeAsksWhetherToRunWindowed) {
  // This display has no 640 x 480 mode, so Wine refuses the full-screen one.
  const auto question = Start(kWindowsViewer);
  ASSERT_TRUE(question) << viewer_->Errors();
  ASSERT_TRUE(Press_Key_In(*question, "Return"));  // Yes
  const auto fallback = Wait_For_Window("OPENGL", 30);
  ASSERT_TRUE(fallback) << "no fallback question; " << viewer_->Errors();
  ASSERT_TRUE(Press_Key_In(*fallback, "Return"));  // Yes: windowed
  const auto window = Wait_For_Client_Area();
  ASSERT_TRUE(window) << Seen_Instead();
  Press_Escape(*window);
  Expect_Exit_Code(0, 30);
}

}  // namespace
