#include "tests/e2e/window_manager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/e2e/desktop.h"

namespace e2e {

namespace {

// A window manager that follows the EWMH names its check window on the root.
bool Manages_The_Screen() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type;
  int format;
  unsigned long count, remaining;
  unsigned char* data = nullptr;
  const bool found =
      XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1,
                         False, XA_WINDOW, &type, &format, &count, &remaining,
                         &data) == Success &&
      count == 1;
  if (data) XFree(data);
  XCloseDisplay(display);
  return found;
}

}  // namespace

Window_Manager::Window_Manager() {
  pid_ = fork();
  if (pid_ == 0) {
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, STDOUT_FILENO);
    dup2(null_fd, STDERR_FILENO);
    execlp("openbox", "openbox", "--sm-disable", nullptr);
    _exit(127);
  }
  if (pid_ < 0) {
    problem_ = "could not start openbox";
    return;
  }
  for (int tries = 0; tries < 200 && !Manages_The_Screen(); ++tries)
    Sleep(0.05);
  if (!Manages_The_Screen()) problem_ = "openbox did not take the screen";
}

Window_Manager::~Window_Manager() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

}  // namespace e2e
