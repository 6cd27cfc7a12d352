#include "tests/support/xvfb_server.h"

#include <cstdlib>

#include "tests/support/x_server_process.h"

namespace test_support {

Xvfb_Server::Xvfb_Server(const std::string& screen) {
  const X_Server_Process server = Start_X_Server(
      {"Xvfb", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
  pid_ = server.pid;
  display_ = server.display;
}

Xvfb_Server::~Xvfb_Server() { Stop_X_Server({pid_, display_}); }

void Xvfb_Server::Export() const { setenv("DISPLAY", display_.c_str(), 1); }

}  // namespace test_support
