#include "bench/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "bench/loop_runner.h"

namespace bench {
namespace {

std::string Read_All(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t count;
  while ((count = read(fd, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<size_t>(count));
  return text;
}

std::map<std::string, std::string> Parse_Lines(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const auto equals = line.find('=');
    if (equals != std::string::npos)
      values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

[[noreturn]] void Exec_Child(const std::vector<std::string>& command,
                             int output_fd) {
  dup2(output_fd, STDOUT_FILENO);
  std::vector<char*> argv;
  for (const std::string& word : command)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  _exit(127);
}

}  // namespace

double Child_Result::Number(const std::string& key) const {
  const auto found = values.find(key);
  return found == values.end() ? 0.0 : std::atof(found->second.c_str());
}

Child_Result Run_Child(const std::vector<std::string>& command) {
  Child_Result result;
  int fds[2];
  if (pipe(fds) != 0) return result;
  result.started_ns = Monotonic_Ns();
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    Exec_Child(command, fds[1]);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return result;
  }
  result.values = Parse_Lines(Read_All(fds[0]));
  close(fds[0]);
  int status = 0;
  rusage usage = {};
  if (wait4(pid, &status, 0, &usage) != pid) return result;
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  result.peak_rss_kib = usage.ru_maxrss;
  return result;
}

}  // namespace bench
