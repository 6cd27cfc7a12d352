// The real viewer, run as a child process.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

class Viewer_Process {
 public:
  // Starts the command (the viewer, or a runner and the viewer); with
  // with_display false, it runs with no DISPLAY at all.
  explicit Viewer_Process(const std::vector<std::string>& command,
                          bool with_display = true);
  ~Viewer_Process();  // kills the viewer if it is still running
  Viewer_Process(const Viewer_Process&) = delete;
  Viewer_Process& operator=(const Viewer_Process&) = delete;

  // The exit code, once the viewer has ended within the time given.
  std::optional<int> Wait_For_Exit(double seconds = 10);
  // Sends the viewer a signal.
  void Signal(int signal_number) const;
  // Ctrl+C in a terminal: SIGINT to the viewer's whole process group (it has
  // one of its own, as a shell's job does).
  void Interrupt_Job() const;
  // The viewer's process id, which is also its process group's.
  pid_t Process_Id() const { return pid_; }
  // What the viewer wrote on standard error so far.
  std::string Errors() const;

 private:
  pid_t pid_ = -1;
  std::optional<int> exit_code_;
  std::string error_path_;
};

}  // namespace e2e
