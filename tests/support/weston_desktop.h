// A private Wayland desktop for tests: weston with its x11 backend, drawn
// into a private Xvfb, running X programs through its XWayland server.
// Input reaches weston the way a person's would, through the outer Xvfb.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "tests/support/xvfb_server.h"

namespace test_support {

class Weston_Desktop {
 public:
  // The desktop's size, as weston's one output and the outer screen.
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  // Whether a weston program can be found at all.
  static bool Is_Installed();

  Weston_Desktop();
  ~Weston_Desktop();
  Weston_Desktop(const Weston_Desktop&) = delete;
  Weston_Desktop& operator=(const Weston_Desktop&) = delete;

  // Why the desktop is not up; empty once it is.
  const std::string& failure() const { return failure_; }
  // The outer Xvfb, where screenshots are taken and input is sent.
  const std::string& outer_display() const { return outer_->display(); }
  // XWayland's display, where X programs run on this desktop.
  const std::string& xwayland_display() const { return xwayland_display_; }
  // What weston wrote to its log so far.
  std::string Log() const;

 private:
  bool Start_Weston();
  bool Wait_For_Xwayland_Display();
  bool Focus_Weston_Window();

  std::unique_ptr<Xvfb_Server> outer_;
  std::string runtime_dir_;
  pid_t pid_ = -1;
  std::string xwayland_display_;
  std::string failure_;
};

}  // namespace test_support
