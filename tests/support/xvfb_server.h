// A private X server for tests that need a display: started on a free
// display number with the screen asked for, and stopped when the object goes.
#pragma once

#include <string>

#include <sys/types.h>

namespace test_support {

class Xvfb_Server {
 public:
  // screen: "WIDTHxHEIGHTxDEPTH", as Xvfb's -screen takes it.
  explicit Xvfb_Server(const std::string& screen = "1024x768x24");
  ~Xvfb_Server();
  Xvfb_Server(const Xvfb_Server&) = delete;
  Xvfb_Server& operator=(const Xvfb_Server&) = delete;

  // ":N", or empty when the server could not be started.
  const std::string& display() const { return display_; }
  // Points DISPLAY at this server for this process and its children.
  void Export() const;

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace test_support
