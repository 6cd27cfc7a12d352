// A real X server for tests: Xorg with the dummy video driver, at depth 24,
// which changes display modes through RandR as a desktop's server does.
// Xvfb offers one mode only and so hides what a mode change does.
#pragma once

#include <sys/types.h>

#include <string>

namespace test_support {

class Xorg_Server {
 public:
  Xorg_Server();
  ~Xorg_Server();
  Xorg_Server(const Xorg_Server&) = delete;
  Xorg_Server& operator=(const Xorg_Server&) = delete;

  // Why Xorg cannot run on this machine, or empty when it can.
  static std::string Unavailable();

  // ":N", or empty when the server could not be started.
  const std::string& display() const { return display_; }
  // Points DISPLAY at this server for this process and its children.
  void Export() const;
  // The server's log, for failure messages.
  std::string Log() const;

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::string log_path_;
};

}  // namespace test_support
