#include "window/gl_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/fake/fake_platform.h"
#include "window/window_procedure.h"

namespace {

using Calls = std::vector<std::string>;

const char kTitle[] = "Quarnel - By Dobrisk";
const char kFallbackQuestion[] =
    "MessageBoxA(NULL,OPENGL,The Requested Fullscreen Mode Is Not Supported "
    "By\nYour Video Card. Use Windowed Mode Instead?,0x34)";
const char kWillClose[] =
    "MessageBoxA(NULL,ERROR,Program Will Now Close.,0x10)";

std::string Error_Box(const std::string& text) {
  return "MessageBoxA(NULL,ERROR," + text + ",0x30)";
}
std::string Shutdown_Box(const std::string& text) {
  return "MessageBoxA(NULL,SHUTDOWN ERROR," + text + ",0x40)";
}

class GLWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  fake::Platform& platform() { return fake::platform(); }
  int Create(bool want_fullscreen, int bits = 16) {
    return CreateGLWindow(kTitle, 640, 480, bits, want_fullscreen);
  }
  void Expect_No_Handle_Set() {
    EXPECT_EQ(hRC, nullptr);
    EXPECT_EQ(hDC, nullptr);
    EXPECT_EQ(hWnd, nullptr);
    EXPECT_EQ(hInstance, nullptr);
  }
};

TEST_F(GLWindowTest, WindowedRequestBuildsEverythingInOrder) {
  ASSERT_EQ(Create(false), TRUE);

  EXPECT_EQ(
      platform().calls,
      (Calls{"RegisterClassA(OpenGL)", "CreateWindowExA",
             "ReSizeGLScene(640,480)", "GetDC", "ChoosePixelFormat",
             "SetPixelFormat(7)", "wglCreateContext", "wglMakeCurrent(context)",
             "ShowWindow(5)", "SetForegroundWindow", "SetFocus",
             "ReSizeGLScene(640,480)", "InitGL"}));
  EXPECT_FALSE(fullscreen);
  EXPECT_NE(hInstance, nullptr);
  EXPECT_NE(hWnd, nullptr);
  EXPECT_NE(hDC, nullptr);
  EXPECT_NE(hRC, nullptr);
  EXPECT_EQ(platform().cursor_display_count, 0);

  ASSERT_EQ(platform().created_windows.size(), 1u);
  const fake::Created_Window& w = platform().created_windows[0];
  EXPECT_EQ(w.class_name, "OpenGL");
  EXPECT_EQ(w.title, kTitle);
  EXPECT_EQ(w.ex_style, 0x40100u);
  EXPECT_EQ(w.style, 0x06CF0000u);
  EXPECT_EQ(w.x, 0);
  EXPECT_EQ(w.y, 0);
  EXPECT_EQ(w.width, 640);
  EXPECT_EQ(w.height, 480);
}

TEST_F(GLWindowTest, WindowClassAndPixelFormatRequest) {
  ASSERT_EQ(Create(false), TRUE);

  const WNDCLASSA& wc = platform().window_class;
  EXPECT_EQ(wc.style, 0x23u);
  EXPECT_EQ(wc.lpfnWndProc, &WndProc);
  EXPECT_EQ(wc.cbClsExtra, 0);
  EXPECT_EQ(wc.cbWndExtra, 0);
  EXPECT_EQ(wc.hInstance, hInstance);
  EXPECT_EQ(wc.hIcon, LoadIconA(nullptr, MAKEINTRESOURCEA(32517)));
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  EXPECT_EQ(wc.hbrBackground, nullptr);
  EXPECT_EQ(wc.lpszMenuName, nullptr);
  EXPECT_STREQ(wc.lpszClassName, "OpenGL");

  ASSERT_EQ(platform().pixel_format_requests.size(), 1u);
  PIXELFORMATDESCRIPTOR expected = {};
  expected.nSize = 40;
  expected.nVersion = 1;
  expected.dwFlags = 0x25;
  expected.cColorBits = 16;
  expected.cDepthBits = 16;
  const PIXELFORMATDESCRIPTOR& got = platform().pixel_format_requests[0];
  EXPECT_EQ(0, std::memcmp(&got, &expected, sizeof expected))
      << "colour " << int{got.cColorBits} << ", depth " << int{got.cDepthBits}
      << ", flags " << got.dwFlags;
}

TEST_F(GLWindowTest, FullscreenRequestChangesTheModeAndHidesTheCursor) {
  ASSERT_EQ(Create(true), TRUE);

  EXPECT_EQ(
      fake::Calls_Starting_With({"RegisterClassA", "ChangeDisplaySettingsA",
                                 "ShowCursor", "CreateWindowExA"}),
      (Calls{"RegisterClassA(OpenGL)",
             "ChangeDisplaySettingsA(640x480x16,0x1c0000,156,4)",
             "ShowCursor(FALSE)", "CreateWindowExA"}));
  EXPECT_TRUE(fullscreen);
  EXPECT_EQ(platform().created_windows[0].ex_style, 0x40000u);
  EXPECT_EQ(platform().created_windows[0].style, 0x86000000u);
  EXPECT_EQ(platform().created_windows[0].width, 640);
}

TEST_F(GLWindowTest, RefusedModeAnsweredYesComesUpWindowed) {
  platform().display_modes.clear();
  platform().message_box_answers = {IDYES};

  ASSERT_EQ(Create(true), TRUE);

  EXPECT_FALSE(fullscreen);
  EXPECT_EQ(fake::Calls_Starting_With({"MessageBoxA", "ShowCursor"}),
            Calls{kFallbackQuestion});
  EXPECT_EQ(platform().created_windows[0].style, 0x06CF0000u);
  EXPECT_EQ(platform().cursor_display_count, 0);
}

TEST_F(GLWindowTest, RefusedModeAnsweredNoClosesWithNothingTornDown) {
  platform().display_modes.clear();
  platform().message_box_answers = {IDNO};

  EXPECT_EQ(Create(true), FALSE);

  EXPECT_EQ(fake::Calls_Starting_With({"MessageBoxA"}),
            (Calls{kFallbackQuestion, kWillClose}));
  EXPECT_EQ(platform().calls.back(), kWillClose);
  EXPECT_TRUE(fake::Calls_Starting_With({"UnregisterClassA", "CreateWindowExA"})
                  .empty());
  EXPECT_TRUE(platform().class_registered);
}

TEST_F(GLWindowTest, RegistrationFailureTearsNothingDown) {
  platform().failing_calls = {"RegisterClassA"};
  EXPECT_EQ(Create(false), FALSE);
  EXPECT_EQ(platform().calls,
            (Calls{"RegisterClassA(OpenGL)",
                   Error_Box("Failed To Register The Window Class.")}));
}

TEST_F(GLWindowTest, FailureAtEachStepTearsDownThenTellsWhy) {
  struct Case {
    const char* failing_call;
    const char* message;
  };
  const Case cases[] = {
      {"CreateWindowExA", "Window Creation Error."},
      {"GetDC", "Can't Create A GL Device Context."},
      {"ChoosePixelFormat", "Can't Find A Suitable PixelFormat."},
      {"SetPixelFormat", "Can't Set The PixelFormat."},
      {"wglCreateContext", "Can't Create A GL Rendering Context."},
      {"wglMakeCurrent", "Can't Activate The GL Rendering Context."},
      {"InitGL", "Initialization Failed."},
  };
  for (bool want_fullscreen : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.failing_call) +
                   (want_fullscreen ? " full-screen" : " windowed"));
      SetUp();
      platform().failing_calls = {c.failing_call};

      EXPECT_EQ(Create(want_fullscreen), FALSE);

      // The tear-down ran (it always ends by unregistering the class), then
      // exactly one creation error, last.
      const Calls& calls = platform().calls;
      ASSERT_GE(calls.size(), 2u);
      EXPECT_EQ(calls.back(), Error_Box(c.message));
      EXPECT_EQ(calls[calls.size() - 2], "UnregisterClassA(OpenGL)");
      EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                              [](const std::string& call) {
                                return call.rfind("MessageBoxA(NULL,ERROR,",
                                                  0) == 0;
                              }),
                1);
      EXPECT_FALSE(platform().class_registered);
      Expect_No_Handle_Set();
      if (want_fullscreen) {
        // The desktop's mode is back and the cursor shows again.
        EXPECT_EQ(platform().cursor_display_count, 0);
        EXPECT_EQ(fake::Calls_Starting_With({"ChangeDisplaySettingsA(NULL"}),
                  Calls{"ChangeDisplaySettingsA(NULL,0)"});
      }
    }
  }
}

TEST_F(GLWindowTest, SecondWindowKeepsTheFirstPixelFormatDepth) {
  platform().display_modes = {{640, 480, 16}, {640, 480, 24}};
  ASSERT_EQ(Create(true, 16), TRUE);
  KillGLWindow();
  ASSERT_EQ(Create(true, 24), TRUE);

  EXPECT_EQ(fake::Calls_Starting_With({"ChangeDisplaySettingsA(640"}),
            (Calls{"ChangeDisplaySettingsA(640x480x16,0x1c0000,156,4)",
                   "ChangeDisplaySettingsA(640x480x24,0x1c0000,156,4)"}));
  ASSERT_EQ(platform().pixel_format_requests.size(), 2u);
  EXPECT_EQ(platform().pixel_format_requests[1].cColorBits, 16);
}

TEST_F(GLWindowTest, KillInFullscreenRestoresTheDesktopBeforeReleasing) {
  ASSERT_EQ(Create(true), TRUE);
  platform().calls.clear();

  KillGLWindow();

  EXPECT_EQ(platform().calls,
            (Calls{"ChangeDisplaySettingsA(NULL,0)", "ShowCursor(TRUE)",
                   "wglMakeCurrent(NULL)", "wglDeleteContext", "ReleaseDC",
                   "DestroyWindow", "UnregisterClassA(OpenGL)"}));
  EXPECT_EQ(platform().cursor_display_count, 0);
  Expect_No_Handle_Set();
}

TEST_F(GLWindowTest, KillWindowedLeavesDisplayAndCursorAlone) {
  ASSERT_EQ(Create(false), TRUE);
  platform().calls.clear();
  KillGLWindow();
  EXPECT_TRUE(
      fake::Calls_Starting_With({"ChangeDisplaySettingsA", "ShowCursor"})
          .empty());
  Expect_No_Handle_Set();
}

TEST_F(GLWindowTest, EveryFailedReleaseIsReportedAndTheRestStillRuns) {
  struct Case {
    const char* failing_call;
    const char* message;
  };
  const Case cases[] = {
      {"wglMakeCurrent", "Release Of DC And RC Failed."},
      {"wglDeleteContext", "Release Rendering Context Failed."},
      {"ReleaseDC", "Release Device Context Failed."},
      {"DestroyWindow", "Could Not Release hWnd."},
      {"UnregisterClassA", "Could Not Unregister Class."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing_call);
    SetUp();
    ASSERT_EQ(Create(false), TRUE);
    platform().calls.clear();
    platform().failing_calls = {c.failing_call};

    KillGLWindow();

    EXPECT_EQ(fake::Calls_Starting_With({"MessageBoxA"}),
              Calls{Shutdown_Box(c.message)});
    EXPECT_EQ(fake::Calls_Starting_With({"UnregisterClassA"}).size(), 1u);
    Expect_No_Handle_Set();
  }
}

TEST_F(GLWindowTest, SecondKillReleasesNothingAgain) {
  ASSERT_EQ(Create(false), TRUE);
  platform().failing_calls = {"ReleaseDC", "DestroyWindow"};
  KillGLWindow();
  platform().calls.clear();
  platform().failing_calls.clear();

  KillGLWindow();

  // Only the class unregistration is always tried, and the class is gone.
  EXPECT_EQ(platform().calls,
            (Calls{"UnregisterClassA(OpenGL)",
                   Shutdown_Box("Could Not Unregister Class.")}));
}

}  // namespace
