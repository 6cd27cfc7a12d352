#include "tests/support/weston_desktop.h"

#include "tests/support/poll.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace test_support {

namespace {

constexpr double kStartSeconds = 20;
constexpr char kListening[] = "xserver listening on display ";

bool On_Path(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (access((folder + "/" + program).c_str(), X_OK) == 0) return true;
  return false;
}

// The top-level window of the outer server of this class.
Window Find_Top_Level(Display* display, const char* class_name) {
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  Window found = None;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent,
                  &children, &count))
    return None;
  for (unsigned int i = 0; i < count && found == None; ++i) {
    XClassHint hint = {nullptr, nullptr};
    if (!XGetClassHint(display, children[i], &hint)) continue;
    if (hint.res_class && std::strcmp(hint.res_class, class_name) == 0)
      found = children[i];
    XFree(hint.res_name);
    XFree(hint.res_class);
  }
  XFree(children);
  return found;
}

}  // namespace

bool Weston_Desktop::Is_Installed() {
  return On_Path("weston") && On_Path("Xwayland");
}

Weston_Desktop::Weston_Desktop() {
  const std::string size =
      std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
  outer_ = std::make_unique<Xvfb_Server>(size);
  if (outer_->display().empty()) {
    failure_ = "the outer Xvfb did not start";
    return;
  }
  char dir[] = "/tmp/quarnel-wayland-XXXXXX";  // made with mode 0700
  if (!mkdtemp(dir)) {
    failure_ = "no private runtime directory";
    return;
  }
  runtime_dir_ = dir;
  if (!Start_Weston())
    failure_ = "weston did not start";
  else if (!Wait_For_Xwayland_Display())
    failure_ = "weston named no XWayland display";
  else if (!Focus_Weston_Window())
    failure_ = "weston's window did not appear on the outer Xvfb";
}

Weston_Desktop::~Weston_Desktop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    const bool ended =
        Poll(5, [this] { return waitpid(pid_, nullptr, WNOHANG) == pid_; });
    if (!ended) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  if (!runtime_dir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(runtime_dir_, ignored);
  }
}

std::string Weston_Desktop::Log() const {
  std::ifstream in(runtime_dir_ + "/weston.log");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Weston_Desktop::Start_Weston() {
  const std::string log_option = "--log=" + runtime_dir_ + "/weston.log";
  const std::string width = "--width=" + std::to_string(kWidth);
  const std::string height = "--height=" + std::to_string(kHeight);
  pid_ = fork();
  if (pid_ == 0) {
    // Weston, and XWayland with it, ends when the test ends, however.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    setenv("DISPLAY", outer_->display().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime_dir_.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, STDIN_FILENO);
    dup2(null_fd, STDOUT_FILENO);
    dup2(null_fd, STDERR_FILENO);
    // No user configuration, and no idle fade-out in the middle of a test.
    execlp("weston", "weston", "--backend=x11-backend.so", "--xwayland",
           "--no-config", "--idle-time=0", width.c_str(), height.c_str(),
           log_option.c_str(), nullptr);
    _exit(127);
  }
  return pid_ > 0;
}

bool Weston_Desktop::Wait_For_Xwayland_Display() {
  return Poll(kStartSeconds,
              [this] {
                if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                  pid_ = -1;
                  return true;  // it ended: there will be no display
                }
                const std::string log = Log();
                const size_t at = log.find(kListening);
                if (at == std::string::npos) return false;
                std::istringstream rest(
                    log.substr(at + std::strlen(kListening)));
                rest >> xwayland_display_;
                return !xwayland_display_.empty();
              }) &&
         !xwayland_display_.empty();
}

// Keys typed on the outer server reach weston only while its window has
// the outer server's input focus; there is no window manager to give it.
bool Weston_Desktop::Focus_Weston_Window() {
  Display* display = XOpenDisplay(outer_->display().c_str());
  if (!display) return false;
  Window weston = None;
  Poll(kStartSeconds, [&] {
    weston = Find_Top_Level(display, "Weston Compositor");
    return weston != None;
  });
  if (weston != None) {
    XSetInputFocus(display, weston, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
  }
  XCloseDisplay(display);
  return weston != None;
}

}  // namespace test_support
