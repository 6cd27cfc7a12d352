// Starting an X server as a child process on a display number of its own
// choosing, which it writes to a pipe once it accepts connections.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace test_support {

struct X_Server_Process {
  pid_t pid = -1;
  std::string display;  // ":N", or empty when the server did not start
};

// Runs the command with "-displayfd FD" added, its output to log_path (or
// discarded when empty), and waits for the display number.
X_Server_Process Start_X_Server(const std::vector<std::string>& command,
                                const std::string& log_path = "");
void Stop_X_Server(const X_Server_Process& server);

}  // namespace test_support
