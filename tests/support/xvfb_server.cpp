#include "tests/support/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace test_support {

namespace {

constexpr int kStartTimeoutMs = 15000;

// Reads the display number Xvfb writes once it accepts connections.
std::string Read_Display_Number(int fd) {
  std::string number;
  pollfd pfd = {fd, POLLIN, 0};
  while (poll(&pfd, 1, kStartTimeoutMs) > 0) {
    char c;
    if (read(fd, &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  return number;
}

}  // namespace

Xvfb_Server::Xvfb_Server(const std::string& screen) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(pipe_fds[0]);
    const int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, STDOUT_FILENO);
    dup2(null_fd, STDERR_FILENO);
    const std::string fd_text = std::to_string(pipe_fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd_text.c_str(), "-screen", "0",
           screen.c_str(), "-nolisten", "tcp", "-noreset", nullptr);
    _exit(127);
  }
  close(pipe_fds[1]);
  if (pid_ > 0) {
    const std::string number = Read_Display_Number(pipe_fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  close(pipe_fds[0]);
}

Xvfb_Server::~Xvfb_Server() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

void Xvfb_Server::Export() const { setenv("DISPLAY", display_.c_str(), 1); }

}  // namespace test_support
