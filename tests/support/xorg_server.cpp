#include "tests/support/xorg_server.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/x_server_process.h"

namespace test_support {

namespace {

const char kXorg[] = "/usr/lib/xorg/Xorg";
const char kDummyDriver[] = "/usr/lib/xorg/modules/drivers/dummy_drv.so";

}  // namespace

std::string Xorg_Server::Unavailable() {
  if (access(kXorg, X_OK) != 0)
    return "Xorg is not installed (Debian: xserver-xorg-core)";
  if (access(kDummyDriver, R_OK) != 0)
    return "Xorg's dummy driver is not installed "
           "(Debian: xserver-xorg-video-dummy)";
  if (geteuid() != 0) return "Xorg with a config of our own needs root";
  return "";
}

Xorg_Server::Xorg_Server() {
  char log_path[] = "/tmp/quarnel-xorg-XXXXXX";
  const int fd = mkstemp(log_path);
  if (fd >= 0) close(fd);
  log_path_ = log_path;
  const X_Server_Process server = Start_X_Server(
      {kXorg, "-config", QUARNEL_XORG_CONFIG, "-noreset", "-nolisten", "tcp",
       "-logfile", log_path_, "-novtswitch", "-sharevts"});
  pid_ = server.pid;
  display_ = server.display;
}

Xorg_Server::~Xorg_Server() {
  Stop_X_Server({pid_, display_});
  std::remove(log_path_.c_str());
}

void Xorg_Server::Export() const { setenv("DISPLAY", display_.c_str(), 1); }

std::string Xorg_Server::Log() const {
  std::ifstream in(log_path_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace test_support
