#include "tests/e2e/viewer_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {

Viewer_Process::Viewer_Process(const std::vector<std::string>& command,
                               bool with_display) {
  std::vector<char*> argv;
  for (const std::string& word : command)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  char path[] = "/tmp/quarnel-stderr-XXXXXX";
  const int error_fd = mkstemp(path);
  error_path_ = path;
  pid_ = fork();
  if (pid_ == 0) {
    setpgid(0, 0);
    dup2(error_fd, STDERR_FILENO);
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, STDIN_FILENO);
    dup2(null_fd, STDOUT_FILENO);
    if (!with_display) unsetenv("DISPLAY");
    // Libraries for the viewer alone to preload: the sanitizer run keeps
    // Mesa's driver loaded this way, so that the leak checker can still
    // place the driver's allocations when the viewer ends.
    if (const char* preload = std::getenv("QUARNEL_VIEWER_PRELOAD"))
      setenv("LD_PRELOAD", preload, 1);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(error_fd);
}

Viewer_Process::~Viewer_Process() {
  if (pid_ > 0 && !exit_code_) {
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::remove(error_path_.c_str());
}

std::optional<int> Viewer_Process::Wait_For_Exit(double seconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!exit_code_ && pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      exit_code_ =
          WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (std::chrono::steady_clock::now() > deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return exit_code_;
}

void Viewer_Process::Signal(int signal_number) const {
  if (pid_ > 0 && !exit_code_) kill(pid_, signal_number);
}

void Viewer_Process::Interrupt_Job() const {
  if (pid_ > 0 && !exit_code_) kill(-pid_, SIGINT);
}

std::string Viewer_Process::Errors() const {
  std::ifstream in(error_path_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace e2e
