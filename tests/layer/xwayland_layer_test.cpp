// Our Win32 layer on XWayland (weston, nested in a private Xvfb), where a
// program cannot move the pointer: the cursor calls keep their meaning.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/weston_desktop.h"

namespace {

using test_support::Weston_Desktop;

// The desktop and SDL on its XWayland, once per test process: the layer
// tells XWayland apart once.
class Xwayland_Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!Weston_Desktop::Is_Installed()) return;
    desktop_ = std::make_unique<Weston_Desktop>();
    if (!desktop_->failure().empty()) return;
    setenv("DISPLAY", desktop_->xwayland_display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    ready_ = SDL_Init(SDL_INIT_VIDEO) == 0;
  }
  void TearDown() override {
    SDL_Quit();
    desktop_.reset();
  }
  const Weston_Desktop* desktop() const { return desktop_.get(); }
  bool ready() const { return ready_; }

 private:
  std::unique_ptr<Weston_Desktop> desktop_;
  bool ready_ = false;
};

Xwayland_Environment* const environment = static_cast<Xwayland_Environment*>(
    ::testing::AddGlobalTestEnvironment(new Xwayland_Environment));

// The client sizes WM_SIZE brought, in order.
std::vector<POINT> sizes;

LRESULT CALLBACK Size_Recording_Procedure(HWND, UINT message, WPARAM,
                                          LPARAM lParam) {
  if (message == WM_SIZE) sizes.push_back({LOWORD(lParam), HIWORD(lParam)});
  return 0;
}

// Moves weston's pointer as a person's mouse would: through the outer Xvfb.
void Outer_Xdotool(const std::string& arguments) {
  const std::string command =
      "DISPLAY=" + environment->desktop()->outer_display() + " xdotool " +
      arguments + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void Move_Pointer_By(int dx, int dy) {
  Outer_Xdotool("mousemove_relative --sync -- " + std::to_string(dx) + " " +
                std::to_string(dy));
}

// Takes and hands on every message, as the viewer's loop does between
// frames.
void Pump_Messages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

POINT Cursor() {
  POINT point = {-1, -1};
  EXPECT_TRUE(GetCursorPos(&point));
  return point;
}

// The cursor once the motion sent has come through, or as it stands after
// a few seconds.
POINT Cursor_Once_At(POINT expected) {
  POINT now = Cursor();
  for (int tries = 0; tries < 150; ++tries) {
    if (now.x == expected.x && now.y == expected.y) break;
    SDL_Delay(20);
    Pump_Messages();
    now = Cursor();
  }
  return now;
}

class XwaylandLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Weston_Desktop::Is_Installed())
      GTEST_SKIP() << "weston or Xwayland is not installed; "
                      "scripts/install-deps.sh installs both";
    ASSERT_TRUE(environment->ready())
        << (environment->desktop() ? environment->desktop()->failure() : "")
        << SDL_GetError();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Size_Recording_Procedure;
    wc.lpszClassName = "Test";
    ASSERT_NE(RegisterClassA(&wc), 0);
    sizes.clear();
    // The pointer waits where the window will cover it, wherever weston
    // places a 640 x 480 window on its 1024 x 768 desktop.
    ASSERT_NO_FATAL_FAILURE(Outer_Xdotool("mousemove --sync 0 0"));
    ASSERT_NO_FATAL_FAILURE(Outer_Xdotool("mousemove --sync 512 400"));
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    UnregisterClassA("Test", nullptr);
    Pump_Messages();
  }

  void Show_Window(DWORD style = WS_OVERLAPPEDWINDOW) {
    window_ = CreateWindowExA(0, "Test", "layer test", style, 0, 0, 640, 480,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(window_);
    for (int i = 0; i < 50; ++i) {  // until weston has placed and focused it
      Pump_Messages();
      SDL_Delay(20);
    }
  }

  HWND window_ = nullptr;
};

TEST_F(XwaylandLayerTest, CursorIsTheLastPositionSetPlusTheMotionSince) {
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE) << "the pointer is not held";
  ASSERT_NO_FATAL_FAILURE(Show_Window());

  // Before any move the cursor stands at the centre of the window as it
  // was asked for, whatever place weston gave it.
  const POINT start = Cursor();
  EXPECT_EQ(start.x, 320);
  EXPECT_EQ(start.y, 240);

  struct Case {
    const char* name;
    POINT set_at;
    std::vector<POINT> moves;
    POINT expected;
  };
  const Case cases[] = {
      {"one move", {320, 240}, {{30, -10}}, {350, 230}},
      {"moves add up", {100, 100}, {{-7, 4}, {5, 5}, {-1, -1}}, {97, 108}},
      {"a move out and back", {320, 240}, {{100, 0}, {-100, 0}}, {320, 240}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(SetCursorPos(c.set_at.x, c.set_at.y));
    const POINT set = Cursor();
    EXPECT_EQ(set.x, c.set_at.x);  // the motion gathered before is gone
    EXPECT_EQ(set.y, c.set_at.y);
    for (const POINT& move : c.moves)
      ASSERT_NO_FATAL_FAILURE(Move_Pointer_By(move.x, move.y));
    const POINT moved = Cursor_Once_At(c.expected);
    EXPECT_EQ(moved.x, c.expected.x);
    EXPECT_EQ(moved.y, c.expected.y);
    const POINT again = Cursor();  // reading it moves nothing
    EXPECT_EQ(again.x, moved.x);
    EXPECT_EQ(again.y, moved.y);
  }

  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE) << "the pointer is held";
}

TEST_F(XwaylandLayerTest, FullScreenFillsTheDesktopWhereWestonKeepsItsSize) {
  // XWayland offers 640 x 480, emulated, at the desktop's 24 bits.
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = 640;
  mode.dmPelsHeight = 480;
  mode.dmBitsPerPel = 16;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN),
            DISP_CHANGE_SUCCESSFUL);
  ASSERT_NO_FATAL_FAILURE(Show_Window(WS_POPUP));

  // Weston gives a full-screen window the whole desktop rather than scaling
  // the emulated mode up: the desktop's own mode stays, and the program
  // hears the size its window has.
  SDL_DisplayMode in_force = {};
  ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &in_force), 0);
  EXPECT_EQ(in_force.w, Weston_Desktop::kWidth);
  EXPECT_EQ(in_force.h, Weston_Desktop::kHeight);
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back().x, Weston_Desktop::kWidth);
  EXPECT_EQ(sizes.back().y, Weston_Desktop::kHeight);

  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &in_force), 0);
  EXPECT_EQ(in_force.w, Weston_Desktop::kWidth);
}

}  // namespace
