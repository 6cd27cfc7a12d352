// What the end-to-end tests share: a private X server, the viewer started
// on it with its first question answered, and a check of how it ended.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/desktop.h"
#include "tests/e2e/viewer_process.h"
#include "tests/support/frame_checks.h"
#include "tests/support/xvfb_server.h"

namespace e2e {

inline constexpr char kTitle[] = "Quarnel - By Dobrisk";
inline constexpr char kStartQuestion[] = "Start FullScreen?";

// The 640 x 480 client area whose top-left corner is at (left, top) on the
// screen, rows counted from the bottom as in GL.
test_support::Pixel_Source Client_Area(const Screenshot& shot, int left = 0,
                                       int top = 0);

class Viewer_Test : public ::testing::Test {
 protected:
  // A private Xvfb with this screen, as DISPLAY, the pointer where the
  // viewer holds it, so that its first frame turns nothing.
  void Start_Xvfb(const std::string& screen = "1024x768x24");

  // Starts the command and waits for the viewer's start question.
  void Start_Viewer(const std::vector<std::string>& command,
                    double seconds = 10);
  // Starts it and answers the question with this key.
  void Start_Viewer_Answering(const std::vector<std::string>& command,
                              const std::string& key);
  // Waits for the viewer's window and for its first frames.
  void Wait_Until_Window_Drawn(double seconds = 10);

  void Expect_Exit_Code(int expected, double seconds = 10);

  std::unique_ptr<test_support::Xvfb_Server> xvfb_;
  std::unique_ptr<Viewer_Process> viewer_;
  std::optional<Window_Info> question_;
  std::optional<Window_Info> window_;
};

}  // namespace e2e
