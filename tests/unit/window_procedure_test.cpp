#include "window/window_procedure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/fake/fake_platform.h"
#include "window/gl_window.h"

namespace {

using Calls = std::vector<std::string>;

constexpr WPARAM kMinimised = 1u << 16;
constexpr LPARAM kAutoRepeat = 0x40000000;

class WindowProcedureTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    return WndProc(nullptr, message, wParam, lParam);
  }
  const Calls& calls() { return fake::platform().calls; }
};

TEST_F(WindowProcedureTest, ActivateFollowsOnlyTheMinimisedFlag) {
  struct Case {
    const char* name;
    bool active_before;
    WPARAM wParam;
    bool expected_active;
  };
  const Case cases[] = {
      {"minimised", true, kMinimised | 0, false},
      {"minimised while active", true, kMinimised | 1, false},
      {"restored", false, 1, true},
      {"focus lost, not minimised", true, 0, true},
      {"focus lost, was minimised", false, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    active = c.active_before;
    EXPECT_EQ(Send(WM_ACTIVATE, c.wParam), 0);
    EXPECT_EQ(active, c.expected_active);
    EXPECT_TRUE(calls().empty());
  }
}

TEST_F(WindowProcedureTest, ScreenSaverAndMonitorPowerAreSwallowed) {
  for (WPARAM command : {SC_SCREENSAVE, SC_MONITORPOWER}) {
    SCOPED_TRACE(command);
    SetUp();
    EXPECT_EQ(Send(WM_SYSCOMMAND, command), 0);
    EXPECT_TRUE(calls().empty());
  }
}

TEST_F(WindowProcedureTest, OtherSystemCommandsGoToTheDefaultHandler) {
  const WPARAM kMinimiseCommand = 0xF020;
  EXPECT_EQ(Send(WM_SYSCOMMAND, kMinimiseCommand), fake::kDefaultHandlerResult);
  EXPECT_EQ(calls(), Calls{"DefWindowProcA(0x112,0xf020)"});
}

TEST_F(WindowProcedureTest, CloseAsksToQuitAndDestroysNothing) {
  EXPECT_EQ(Send(WM_CLOSE, 0), 0);
  EXPECT_EQ(calls(), Calls{"PostQuitMessage(0)"});
}

TEST_F(WindowProcedureTest, KeyDownIsRecordedAndReachesTheDefaultHandler) {
  struct Case {
    const char* name;
    WPARAM key;
    LPARAM lParam;
    Calls expected_calls;
    bool expected_recorded;
  };
  const Case cases[] = {
      {"Escape asks to quit first",
       VK_ESCAPE,
       1,
       {"PostQuitMessage(0)", "DefWindowProcA(0x100,0x1b)"},
       true},
      {"a letter", 'W', 1, {"DefWindowProcA(0x100,0x57)"}, true},
      {"F1", VK_F1, 1, {"DefWindowProcA(0x100,0x70)"}, true},
      {"F1 auto-repeat toggles nothing",
       VK_F1,
       kAutoRepeat | 1,
       {"DefWindowProcA(0x100,0x70)"},
       false},
      {"a letter's auto-repeat still counts",
       'W',
       kAutoRepeat | 1,
       {"DefWindowProcA(0x100,0x57)"},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    EXPECT_EQ(Send(WM_KEYDOWN, c.key, c.lParam), fake::kDefaultHandlerResult);
    EXPECT_EQ(calls(), c.expected_calls);
    EXPECT_EQ(keys[c.key], c.expected_recorded);
  }
}

TEST_F(WindowProcedureTest, KeyUpClearsTheKeyAndStopsThere) {
  keys['A'] = TRUE;
  keys['B'] = TRUE;
  EXPECT_EQ(Send(WM_KEYUP, 'A'), 0);
  EXPECT_FALSE(keys['A']);
  EXPECT_TRUE(keys['B']);
  EXPECT_TRUE(calls().empty());
}

TEST_F(WindowProcedureTest, KeyCodesBeyondTheTableAreIgnored) {
  // The table's neighbours in memory are the other globals; none may change.
  const bool before_active = active, before_fullscreen = fullscreen;
  for (WPARAM code : {256u, 300u, 0xFFFFu, 0xFFFFFFFFu}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(Send(WM_KEYUP, code), 0);
    EXPECT_EQ(Send(WM_KEYDOWN, code), fake::kDefaultHandlerResult);
  }
  EXPECT_EQ(active, before_active);
  EXPECT_EQ(fullscreen, before_fullscreen);
  EXPECT_TRUE(fake::Calls_Starting_With({"PostQuitMessage"}).empty());
}

TEST_F(WindowProcedureTest, EveryWordSizedKeyCodeTouchesAtMostItsOwnEntry) {
  // Codes 0 to 65535, each pressed and released with the rest of the table
  // in a known pattern: only a code inside the table may change, and only
  // its own entry. (Under AddressSanitizer a write past the table stops the
  // run.)
  bool pattern[256];
  for (int i = 0; i < 256; ++i) pattern[i] = i % 3 == 0;
  const bool before_active = active, before_fullscreen = fullscreen;
  for (WPARAM code = 0; code <= 0xFFFF; ++code) {
    std::copy(pattern, pattern + 256, keys);
    Send(WM_KEYDOWN, code, 1);
    const bool in_table = code < 256;
    for (int i = 0; i < 256; ++i) {
      const bool expected =
          in_table && static_cast<WPARAM>(i) == code ? true : pattern[i];
      if (keys[i] != expected) {
        ADD_FAILURE() << "key down " << code << " changed entry " << i;
        return;
      }
    }
    Send(WM_KEYUP, code, 0);
    for (int i = 0; i < 256; ++i) {
      const bool expected =
          in_table && static_cast<WPARAM>(i) == code ? false : pattern[i];
      if (keys[i] != expected) {
        ADD_FAILURE() << "key up " << code << " changed entry " << i;
        return;
      }
    }
  }
  EXPECT_EQ(active, before_active);
  EXPECT_EQ(fullscreen, before_fullscreen);
  // Escape alone asks to quit.
  EXPECT_EQ(fake::Calls_Starting_With({"PostQuitMessage"}).size(), 1u);
}

TEST_F(WindowProcedureTest, SizeGoesToTheProjectionAsUnsignedWords) {
  struct Case {
    LPARAM lParam;
    const char* expected_call;
  };
  const Case cases[] = {
      {(480 << 16) | 640, "ReSizeGLScene(640,480)"},
      {800, "ReSizeGLScene(800,0)"},
      {static_cast<LPARAM>(0xFFFF8000u), "ReSizeGLScene(32768,65535)"},
      {0, "ReSizeGLScene(0,0)"},
      {static_cast<LPARAM>(0xFFFF0000u), "ReSizeGLScene(0,65535)"},
      {0xFFFF, "ReSizeGLScene(65535,0)"},
      {static_cast<LPARAM>(0xFFFFFFFFu), "ReSizeGLScene(65535,65535)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected_call);
    SetUp();
    EXPECT_EQ(Send(WM_SIZE, 0, c.lParam), 0);
    EXPECT_EQ(calls(), Calls{c.expected_call});
  }
}

TEST_F(WindowProcedureTest, OtherMessagesGoToTheDefaultHandler) {
  const UINT kPaint = 0x000F;
  EXPECT_EQ(Send(kPaint, 3), fake::kDefaultHandlerResult);
  EXPECT_EQ(calls(), Calls{"DefWindowProcA(0xf,0x3)"});
}

}  // namespace
