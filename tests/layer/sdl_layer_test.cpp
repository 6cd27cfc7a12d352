// Our Win32 layer over SDL2, on a private Xvfb: the meanings the viewer
// relies on, call by call.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/layer.h"  // to reach a window's SDL window
#include "tests/support/offscreen_gl.h"

namespace {

constexpr UINT kDestroy = 0x0002;  // WM_DESTROY

// The display, SDL and a GL context, once per test process. The context
// stays for the whole process: it keeps Mesa's driver loaded while the
// tests' own windows come and go, so that the leak checker can still tell
// what the driver keeps for the process's life from a leak of ours.
class Layer_Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    gl_ = std::make_unique<test_support::Offscreen_GL>();
    ready_ = gl_->Make_Current().empty();
  }
  void TearDown() override { gl_.reset(); }
  bool ready() const { return ready_; }

 private:
  std::unique_ptr<test_support::Offscreen_GL> gl_;
  bool ready_ = false;
};

Layer_Environment* const environment = static_cast<Layer_Environment*>(
    ::testing::AddGlobalTestEnvironment(new Layer_Environment));

// What the window procedure saw, in order.
std::vector<std::string> seen;

LRESULT CALLBACK Recording_Procedure(HWND, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
  seen.push_back(std::to_string(message) + ":" + std::to_string(wParam) + ":" +
                 std::to_string(lParam));
  return 0;
}

std::string Seen(UINT message, WPARAM wParam, LPARAM lParam) {
  return std::to_string(message) + ":" + std::to_string(wParam) + ":" +
         std::to_string(lParam);
}

// What the viewer asks for: double-buffered RGBA, 16-bit colour and depth.
PIXELFORMATDESCRIPTOR Viewer_Pixel_Format() {
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 16;
  pfd.cDepthBits = 16;
  return pfd;
}

class SdlLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(environment->ready()) << SDL_GetError();
    seen.clear();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Recording_Procedure;
    wc.lpszClassName = "Test";
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    UnregisterClassA("Test", nullptr);
    // The next test starts from a layer that has seen nothing.
    Discard_Queued_Events();
    sdl_layer::State() = sdl_layer::Layer_State{};
  }

  // Forgets what is queued, in SDL and in the layer.
  static void Discard_Queued_Events() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    sdl_layer::State().queue.clear();
  }

  HWND Create_Window() {
    window_ = CreateWindowExA(0, "Test", "layer test", WS_OVERLAPPEDWINDOW, 0,
                              0, 320, 200, nullptr, nullptr, nullptr, nullptr);
    return window_;
  }

  static void Push_Key(Uint32 type, SDL_Keycode key, Uint32 window_id) {
    SDL_Event event = {};
    event.type = type;
    event.key.type = type;
    event.key.windowID = window_id;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
  }

  HWND window_ = nullptr;
};

TEST_F(SdlLayerTest, WindowProcedureIsCalledWhileCreatingShowingAndDestroying) {
  ASSERT_NE(Create_Window(), nullptr);
  EXPECT_EQ(seen,
            std::vector<std::string>{Seen(WM_SIZE, 0, (200 << 16) | 320)});

  ShowWindow(window_, SW_SHOW);
  EXPECT_EQ(seen.back(), Seen(WM_ACTIVATE, 1, 0));

  // A class cannot go while one of its windows is alive.
  EXPECT_FALSE(UnregisterClassA("Test", nullptr));
  EXPECT_TRUE(DestroyWindow(window_));
  EXPECT_EQ(seen.back(), Seen(kDestroy, 0, 0));
  EXPECT_FALSE(DestroyWindow(window_));  // already gone
  window_ = nullptr;
}

TEST_F(SdlLayerTest, ClassesRegisterOnce) {
  WNDCLASSA again = {};
  again.lpfnWndProc = Recording_Procedure;
  again.lpszClassName = "Test";
  EXPECT_EQ(RegisterClassA(&again), 0);
  EXPECT_EQ(CreateWindowExA(0, "No such class", "", 0, 0, 0, 10, 10, nullptr,
                            nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(SdlLayerTest, KeyStateFollowsTheMessagesTaken) {
  // The key goes down and up before the program looks: like a tap between
  // two frames.
  Push_Key(SDL_KEYDOWN, SDLK_w, 0);
  Push_Key(SDL_KEYUP, SDLK_w, 0);
  EXPECT_FALSE(GetKeyState('W') & 0x80);

  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>('W'));
  EXPECT_TRUE(GetKeyState('W') & 0x80);  // held as of this message

  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
  EXPECT_FALSE(GetKeyState('W') & 0x80);
}

// The user holds F1 on the X server while SDL, losing its window (made anew,
// or covered by a message box), reports it released. If an auto-repeat then
// reaches the new window, SDL calls it a first press and reports the real
// release later; if not, SDL never reports the release.
TEST_F(SdlLayerTest, AKeyHeldAcrossANewWindowStaysDownUntilReallyReleased) {
  constexpr LPARAM kWasDown = 1 << 30;
  using Taken = std::vector<std::pair<UINT, bool>>;  // message, bit 30
  struct Case {
    const char* name;
    bool repeat_reaches_new_window;
    Taken expected;
  };
  const Case cases[] = {
      {"an auto-repeat reaches the new window",
       true,
       {{WM_KEYDOWN, false}, {WM_KEYDOWN, true}}},
      {"released before any repeat", false, {{WM_KEYDOWN, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(std::system("xdotool keydown F1"), 0);
    Push_Key(SDL_KEYDOWN, SDLK_F1, 0);
    Push_Key(SDL_KEYUP, SDLK_F1, 0);  // SDL's, not the user's
    if (c.repeat_reaches_new_window) Push_Key(SDL_KEYDOWN, SDLK_F1, 0);

    Taken taken;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      taken.emplace_back(msg.message, (msg.lParam & kWasDown) != 0);
    EXPECT_EQ(taken, c.expected);
    EXPECT_TRUE(GetKeyState(VK_F1) & 0x80);

    ASSERT_EQ(std::system("xdotool keyup F1"), 0);
    if (c.repeat_reaches_new_window) Push_Key(SDL_KEYUP, SDLK_F1, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_F1));
    EXPECT_FALSE(GetKeyState(VK_F1) & 0x80);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  }
}

TEST_F(SdlLayerTest, KeysTranslateToVirtualKeyCodes) {
  struct Case {
    SDL_Keycode key;
    WPARAM code;
  };
  const Case cases[] = {{SDLK_a, 'A'},
                        {SDLK_z, 'Z'},
                        {SDLK_LEFT, VK_LEFT},
                        {SDLK_UP, VK_UP},
                        {SDLK_RIGHT, VK_RIGHT},
                        {SDLK_DOWN, VK_DOWN},
                        {SDLK_ESCAPE, VK_ESCAPE},
                        {SDLK_F1, VK_F1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Push_Key(SDL_KEYDOWN, c.key, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(msg.wParam, c.code);
    Push_Key(SDL_KEYUP, c.key, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  }
}

TEST_F(SdlLayerTest, QuitComesOnceEverythingElseIsTaken) {
  Push_Key(SDL_KEYDOWN, SDLK_a, 0);
  PostQuitMessage(0);
  Push_Key(SDL_KEYUP, SDLK_a, 0);

  MSG msg;
  std::vector<UINT> taken;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    taken.push_back(msg.message);
  EXPECT_EQ(taken, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_QUIT}));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // once only
}

TEST_F(SdlLayerTest, DisplayModesMatchOnSizeAndTakeTheDisplaysDepth) {
  struct Case {
    int width, height, bits;
    LONG expected;
  };
  const Case cases[] = {
      {640, 480, 16, DISP_CHANGE_BADMODE},  // the screen has one size only
      {640, 480, 24, DISP_CHANGE_BADMODE},
      {1024, 767, 24, DISP_CHANGE_BADMODE},  // never a "closest" size
      {1024, 768, 24, DISP_CHANGE_SUCCESSFUL},
      {1024, 768, 16, DISP_CHANGE_SUCCESSFUL},  // at the display's 24 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) +
                 "x" + std::to_string(c.bits));
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = c.width;
    mode.dmPelsHeight = c.height;
    mode.dmBitsPerPel = c.bits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), c.expected);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  }
}

TEST_F(SdlLayerTest, ShowCursorKeepsACount) {
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(FALSE), -2);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_EQ(ShowCursor(TRUE), -1);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);  // still below zero
  EXPECT_EQ(ShowCursor(TRUE), 0);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SdlLayerTest, CursorIsReadAndMovedInScreenPixels) {
  for (POINT target : {POINT{320, 240}, POINT{5, 700}}) {
    ASSERT_TRUE(SetCursorPos(target.x, target.y));
    POINT now = {};
    ASSERT_TRUE(GetCursorPos(&now));
    EXPECT_EQ(now.x, target.x);
    EXPECT_EQ(now.y, target.y);
  }
}

TEST_F(SdlLayerTest, ASizePastTheDesktopIsKeptWithinIt) {
  // The private desktop is 1024 x 768, well within what Mesa can draw.
  struct Case {
    int asked_width, asked_height;
    int kept_width, kept_height;
  };
  const Case cases[] = {{32767, 32767, 1024, 768},
                        {2000, 100, 1024, 100},
                        {100, 65535, 100, 768},
                        {500, 400, 500, 400}};
  ASSERT_NE(Create_Window(), nullptr);
  // A GL window, as the viewer's is, once its pixel format is set.
  const PIXELFORMATDESCRIPTOR pfd = Viewer_Pixel_Format();
  HDC dc = GetDC(window_);
  ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
  SDL_Window* const sdl_window = window_->sdl_window;
  ASSERT_NE(sdl_window, nullptr);
  Discard_Queued_Events();
  MSG msg;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.asked_width) + "x" +
                 std::to_string(c.asked_height));
    seen.clear();
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    event.window.windowID = SDL_GetWindowID(sdl_window);
    event.window.data1 = c.asked_width;
    event.window.data2 = c.asked_height;
    SDL_PushEvent(&event);
    // Putting the window back brings a size message of its own: every
    // size reported is the one kept.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_FALSE(seen.empty());
    for (const std::string& message : seen)
      EXPECT_EQ(message,
                Seen(WM_SIZE, 0, (c.kept_height << 16) | c.kept_width));
    // And the window itself was put back, before anything drew into it.
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl_window, &width, &height);
    if (c.kept_width != c.asked_width || c.kept_height != c.asked_height) {
      EXPECT_EQ(width, c.kept_width);
      EXPECT_EQ(height, c.kept_height);
    }
  }
}

TEST_F(SdlLayerTest, ContextIsMadeOnlyAfterThePixelFormat) {
  ASSERT_NE(Create_Window(), nullptr);
  HDC dc = GetDC(window_);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(wglCreateContext(dc), nullptr);  // no pixel format yet

  const PIXELFORMATDESCRIPTOR pfd = Viewer_Pixel_Format();
  const int format = ChoosePixelFormat(dc, &pfd);
  ASSERT_NE(format, 0);
  ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
  EXPECT_FALSE(SetPixelFormat(dc, format, &pfd));  // once per window

  HGLRC context = wglCreateContext(dc);
  ASSERT_NE(context, nullptr);
  ASSERT_TRUE(wglMakeCurrent(dc, context));
  int depth = 0, double_buffer = 0;
  SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
  SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &double_buffer);
  EXPECT_GE(depth, 16);
  EXPECT_EQ(double_buffer, 1);
  EXPECT_TRUE(SwapBuffers(dc));

  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglDeleteContext(context));
  EXPECT_EQ(ReleaseDC(window_, dc), 1);
}

// Whether or not the window was shown before its pixel format was set, its
// context draws to a GL window of the format asked for.
TEST_F(SdlLayerTest, ContextWorksWhetherShownBeforeOrAfterThePixelFormat) {
  for (const bool shown_first : {false, true}) {
    SCOPED_TRACE(shown_first ? "shown first" : "format first");
    ASSERT_NE(Create_Window(), nullptr);
    if (shown_first) ShowWindow(window_, SW_SHOW);
    HDC dc = GetDC(window_);
    const PIXELFORMATDESCRIPTOR pfd = Viewer_Pixel_Format();
    ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
    HGLRC context = wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, context));
    if (!shown_first) ShowWindow(window_, SW_SHOW);
    EXPECT_EQ(seen.back(), Seen(WM_ACTIVATE, 1, 0));
    int depth = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    EXPECT_GE(depth, 16);
    EXPECT_TRUE(SwapBuffers(dc));

    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(wglDeleteContext(context));
    EXPECT_TRUE(DestroyWindow(window_));
    window_ = nullptr;
  }
}

// Making a GL window has SDL load GL and try a context. The viewer sets the
// pixel format before it shows the window, and then the window is made just
// once: SDL numbers windows in the order they are made, so the GL window's
// number follows that of a window made and dropped right before.
TEST_F(SdlLayerTest, AWindowGivenItsFormatBeforeItIsShownIsMadeOnce) {
  SDL_Window* marker = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
  ASSERT_NE(marker, nullptr);
  const Uint32 marker_number = SDL_GetWindowID(marker);
  SDL_DestroyWindow(marker);

  ASSERT_NE(Create_Window(), nullptr);
  HDC dc = GetDC(window_);
  const PIXELFORMATDESCRIPTOR pfd = Viewer_Pixel_Format();
  ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &pfd), &pfd));
  HGLRC context = wglCreateContext(dc);
  ASSERT_TRUE(wglMakeCurrent(dc, context));
  ShowWindow(window_, SW_SHOW);
  SDL_Window* drawn_to = SDL_GL_GetCurrentWindow();
  ASSERT_NE(drawn_to, nullptr);
  EXPECT_EQ(SDL_GetWindowID(drawn_to), marker_number + 1);

  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(context);
}

}  // namespace
