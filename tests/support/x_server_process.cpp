#include "tests/support/x_server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

namespace {

constexpr int kStartTimeoutMs = 15000;

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

X_Server_Process Start_X_Server(const std::vector<std::string>& command,
                                const std::string& log_path) {
  X_Server_Process server;
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return server;
  std::vector<std::string> words = command;
  words.push_back("-displayfd");
  words.push_back(std::to_string(pipe_fds[1]));
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  server.pid = fork();
  if (server.pid == 0) {
    close(pipe_fds[0]);
    const int out = log_path.empty() ? open("/dev/null", O_WRONLY)
                                     : open(log_path.c_str(),
                                            O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  if (server.pid > 0) {
    const std::string number = Read_Display_Number(pipe_fds[0]);
    if (!number.empty()) server.display = ":" + number;
  }
  close(pipe_fds[0]);
  return server;
}

void Stop_X_Server(const X_Server_Process& server) {
  if (server.pid <= 0) return;
  kill(server.pid, SIGTERM);
  waitpid(server.pid, nullptr, 0);
}

}  // namespace test_support
