// A real window manager (openbox) on the test's X server: it frames,
// places and focuses windows, and its close button asks a window to close.
#pragma once

#include <sys/types.h>

#include <string>

namespace e2e {

class Window_Manager {
 public:
  Window_Manager();  // on DISPLAY; waits until it manages the screen
  ~Window_Manager();
  Window_Manager(const Window_Manager&) = delete;
  Window_Manager& operator=(const Window_Manager&) = delete;

  // Empty when it runs; else what went wrong.
  const std::string& problem() const { return problem_; }

 private:
  pid_t pid_ = -1;
  std::string problem_;
};

}  // namespace e2e
