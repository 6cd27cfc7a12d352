#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/fake/fake_platform.h"
#include "window/gl_window.h"
#include "window/window_procedure.h"

namespace {

using Calls = std::vector<std::string>;

const char kStartQuestion[] =
    "MessageBoxA(NULL,Start FullScreen?,Would You Like To Run In Fullscreen "
    "Mode?\n  This Program Is Written By Dobrisk.\n,0x24)";

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    platform().message_box_answers = {IDNO};
  }
  fake::Platform& platform() { return fake::platform(); }
  int Run() { return WinMain(nullptr, nullptr, nullptr, 0); }

  void Queue(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    platform().queue.push_back(fake::Message(message, wParam, lParam));
  }
  // Closes the window once this many frames have been swapped.
  void Close_After_Swaps(int swaps) {
    platform().on_swap = [this, swaps](int count) {
      if (count == swaps) Queue(WM_CLOSE);
    };
  }
  long Count(const std::string& call) {
    const Calls& calls = platform().calls;
    return std::count(calls.begin(), calls.end(), call);
  }
};

TEST_F(MainLoopTest, StartQuestionChoosesTheMode) {
  struct Case {
    const char* name;
    int answer;
    bool expected_fullscreen;
    Calls expected_start;
  };
  const Case cases[] = {
      {"No: windowed, cursor hidden first",
       IDNO,
       false,
       {kStartQuestion, "ShowCursor(FALSE)", "RegisterClassA(OpenGL)",
        "CreateWindowExA"}},
      {"Yes: full-screen",
       IDYES,
       true,
       {kStartQuestion, "RegisterClassA(OpenGL)",
        "ChangeDisplaySettingsA(640x480x16,0x1c0000,156,4)",
        "ShowCursor(FALSE)", "CreateWindowExA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    platform().message_box_answers = {c.answer};
    Close_After_Swaps(1);

    EXPECT_EQ(Run(), 0);

    Calls start(platform().calls.begin(), platform().calls.begin() + 4);
    if (c.expected_fullscreen) start.push_back(platform().calls[4]);
    EXPECT_EQ(start, c.expected_start);
    ASSERT_EQ(platform().created_windows.size(), 1u);
    EXPECT_EQ(platform().created_windows[0].title, "Quarnel - By Dobrisk");
    EXPECT_EQ(platform().created_windows[0].width, 640);
    EXPECT_EQ(platform().created_windows[0].height, 480);
    EXPECT_EQ(platform().cursor_display_count, c.expected_fullscreen ? 0 : -1);
  }
}

TEST_F(MainLoopTest, QueuedMessagesAreHandledOnePerPassBeforeTheNextFrame) {
  Queue(WM_KEYUP, 'A');
  Queue(WM_SYSCOMMAND, SC_SCREENSAVE);
  Queue(WM_KEYUP, 'B');
  Close_After_Swaps(1);

  EXPECT_EQ(Run(), 0);

  EXPECT_EQ(fake::Calls_Starting_With(
                {"DispatchMessageA", "DrawGLScene", "SwapBuffers"}),
            (Calls{"DispatchMessageA(0x101)", "DispatchMessageA(0x112)",
                   "DispatchMessageA(0x101)", "DrawGLScene", "SwapBuffers",
                   "DispatchMessageA(0x10)"}));
}

TEST_F(MainLoopTest, MinimisedSwapsAndRecentresButDoesNotDraw) {
  Queue(WM_ACTIVATE, 1u << 16);
  platform().cursor = {0, 0};
  platform().on_swap = [this](int count) {
    platform().cursor = {10, 10};  // the user keeps moving the mouse
    if (count == 3) Queue(WM_CLOSE);
  };

  EXPECT_EQ(Run(), 0);

  EXPECT_EQ(Count("DrawGLScene"), 0);
  EXPECT_EQ(Count("SwapBuffers"), 3);
  EXPECT_EQ(Count("SetCursorPos(320,240)"), 3);
}

TEST_F(MainLoopTest, RestoredWindowDrawsAgain) {
  Queue(WM_ACTIVATE, 1u << 16);
  platform().on_swap = [this](int count) {
    if (count == 2) Queue(WM_ACTIVATE, 1);
    if (count == 3) Queue(WM_CLOSE);
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(
      fake::Calls_Starting_With({"DrawGLScene", "SwapBuffers"}),
      (Calls{"SwapBuffers", "SwapBuffers", "DrawGLScene", "SwapBuffers"}));
}

TEST_F(MainLoopTest, EveryQuitPathTearsDownAndEndsWithZero) {
  struct Case {
    const char* name;
    UINT message;
    WPARAM wParam;
  };
  for (const Case& c : {Case{"close button", WM_CLOSE, 0},
                        Case{"Escape", WM_KEYDOWN, VK_ESCAPE}}) {
    SCOPED_TRACE(c.name);
    SetUp();
    platform().on_swap = [this, c](int count) {
      if (count == 2) Queue(c.message, c.wParam);
    };

    EXPECT_EQ(Run(), 0);

    // Nothing is drawn or swapped after the request, and the window is gone.
    EXPECT_EQ(platform().swap_count, 2);
    EXPECT_EQ(platform().calls.back(), "UnregisterClassA(OpenGL)");
    EXPECT_EQ(hWnd, nullptr);
  }
}

TEST_F(MainLoopTest, HeldEscapeEndsTheLoopEvenWithoutAQuitMessage) {
  platform().on_swap = [](int count) {
    if (count == 2) keys[VK_ESCAPE] = TRUE;
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform().swap_count, 2);
  EXPECT_EQ(Count("DrawGLScene"), 2);
  EXPECT_EQ(platform().calls.back(), "UnregisterClassA(OpenGL)");
}

TEST_F(MainLoopTest, F1RecreatesTheWindowInTheOtherMode) {
  platform().on_swap = [this](int count) {
    if (count == 1) Queue(WM_KEYDOWN, VK_F1, 1);
    if (count == 2) Queue(WM_KEYDOWN, VK_F1, 1);
    if (count == 3) Queue(WM_CLOSE);
  };

  EXPECT_EQ(Run(), 0);

  const auto& windows = platform().created_windows;
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_EQ(windows[0].style, 0x06CF0000u);  // windowed, as answered
  EXPECT_EQ(windows[1].style, 0x86000000u);  // full-screen
  EXPECT_EQ(windows[2].style, 0x06CF0000u);  // and back
  EXPECT_EQ(Count("ChangeDisplaySettingsA(640x480x16,0x1c0000,156,4)"), 1);
  EXPECT_EQ(Count("ChangeDisplaySettingsA(NULL,0)"), 1);
  EXPECT_EQ(Count("UnregisterClassA(OpenGL)"), 3);
  EXPECT_FALSE(keys[VK_F1]);
}

TEST_F(MainLoopTest, EachF1PressTogglesOnce) {
  constexpr LPARAM kRepeat = 1 | (1 << 30);  // the key was already down
  constexpr LPARAM kRelease = static_cast<LPARAM>(0xC0000001u);
  struct Case {
    const char* name;
    std::vector<MSG> burst;  // queued together, before one frame
    size_t expected_windows;
  };
  const Case cases[] = {
      {"a tap whose release is queued behind its press",
       {fake::Message(WM_KEYDOWN, VK_F1, 1),
        fake::Message(WM_KEYUP, VK_F1, kRelease)},
       2},
      {"a hold: the press, its auto-repeats, then the release",
       {fake::Message(WM_KEYDOWN, VK_F1, 1),
        fake::Message(WM_KEYDOWN, VK_F1, kRepeat),
        fake::Message(WM_KEYDOWN, VK_F1, kRepeat),
        fake::Message(WM_KEYUP, VK_F1, kRelease)},
       2},
      {"two taps",
       {fake::Message(WM_KEYDOWN, VK_F1, 1),
        fake::Message(WM_KEYUP, VK_F1, kRelease),
        fake::Message(WM_KEYDOWN, VK_F1, 1),
        fake::Message(WM_KEYUP, VK_F1, kRelease)},
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    platform().on_swap = [this, &c](int count) {
      if (count == 1)
        for (const MSG& msg : c.burst) platform().queue.push_back(msg);
      if (count == 5) Queue(WM_CLOSE);
    };

    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(platform().created_windows.size(), c.expected_windows);
  }
}

TEST_F(MainLoopTest, FailedCreationEndsWithNonZero) {
  struct Case {
    const char* name;
    std::vector<int> answers;
    std::vector<fake::Display_Mode> modes;
    std::set<std::string> failing;
  };
  const Case cases[] = {
      {"window creation fails", {IDNO}, {{640, 480, 16}}, {"CreateWindowExA"}},
      {"context fails", {IDNO}, {{640, 480, 16}}, {"wglCreateContext"}},
      {"mode refused, then No", {IDYES, IDNO}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    platform().message_box_answers.assign(c.answers.begin(), c.answers.end());
    platform().display_modes = c.modes;
    platform().failing_calls = c.failing;

    EXPECT_NE(Run(), 0);
    EXPECT_EQ(platform().swap_count, 0);
  }
}

TEST_F(MainLoopTest, FailedRecreationOnF1EndsWithNonZero) {
  platform().on_swap = [this](int count) {
    if (count == 1) {
      Queue(WM_KEYDOWN, VK_F1, 1);
      platform().display_modes.clear();  // the full-screen mode is refused
      platform().message_box_answers = {IDNO};
    }
  };
  EXPECT_NE(Run(), 0);
  EXPECT_EQ(platform().calls.back(),
            "MessageBoxA(NULL,ERROR,Program Will Now Close.,0x10)");
}

}  // namespace
