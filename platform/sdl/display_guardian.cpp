// The display guardian: a small process that holds the desktop's own mode
// from the first mode change on, and puts it back if the program ends while
// its mode is still in force, however it ends: a crash, SIGKILL, a lost
// terminal. Windows does the same for every process that changed the mode.
//
// The program talks to it over a socket pair, a byte a message:
//   'C'  the program's mode is (about to be) in force
//   'D'  the desktop's own mode is back
//   'X'  restore now and answer 'A' (from a crash handler, before it dies)
// The guardian learns that the program has ended from the socket closing;
// it then restores if the last word was 'C', and ends.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <vector>

#include "platform/sdl/layer.h"

namespace {

constexpr char kModeChanged = 'C';
constexpr char kDesktopMode = 'D';
constexpr char kRestoreNow = 'X';
constexpr char kRestored = 'A';
constexpr char kReady = 'R';
constexpr int kGuardianChannel = 3;  // the guardian's end, once it runs
constexpr int kStartTimeoutMs = 3000;
constexpr int kRestoreTimeoutMs = 3000;

int channel = -1;  // the program's end; -1 while no guardian runs
pid_t guardian = -1;

struct Crtc_Setting {
  RRCrtc crtc;
  RRMode mode;
  int x, y;
  Rotation rotation;
  std::vector<RROutput> outputs;
};

struct Desktop_Mode {
  int width, height, mm_width, mm_height;
  std::vector<Crtc_Setting> crtcs;
};

Desktop_Mode Read_Desktop_Mode(Display* display) {
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  Desktop_Mode desktop{DisplayWidth(display, screen),
                       DisplayHeight(display, screen),
                       DisplayWidthMM(display, screen),
                       DisplayHeightMM(display, screen),
                       {}};
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (!resources) return desktop;
  for (int i = 0; i < resources->ncrtc; ++i) {
    XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
    if (!info) continue;
    desktop.crtcs.push_back({resources->crtcs[i],
                             info->mode,
                             info->x,
                             info->y,
                             info->rotation,
                             {info->outputs, info->outputs + info->noutput}});
    XRRFreeCrtcInfo(info);
  }
  XRRFreeScreenResources(resources);
  return desktop;
}

// The screen's size now. Xlib's DisplayWidth and DisplayHeight keep the
// size the connection was opened with.
void Read_Screen_Size(Display* display, int* width, int* height) {
  Window root;
  int x, y;
  unsigned int w = 0, h = 0, border, depth;
  XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &w, &h,
               &border, &depth);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
}

void Set_Screen_Size(Display* display, int width, int height,
                     const Desktop_Mode& desktop) {
  int current_width, current_height;
  Read_Screen_Size(display, &current_width, &current_height);
  if (width == current_width && height == current_height) return;
  const int mm_width = desktop.mm_width * width / std::max(desktop.width, 1);
  const int mm_height =
      desktop.mm_height * height / std::max(desktop.height, 1);
  XRRSetScreenSize(display, DefaultRootWindow(display), width, height,
                   std::max(mm_width, 1), std::max(mm_height, 1));
}

bool Crtc_Is_Set_As(Display* display, XRRScreenResources* resources,
                    const Crtc_Setting& wanted) {
  XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, wanted.crtc);
  if (!info) return false;
  const bool same =
      info->mode == wanted.mode && info->x == wanted.x && info->y == wanted.y &&
      info->rotation == wanted.rotation &&
      std::vector<RROutput>(info->outputs, info->outputs + info->noutput) ==
          wanted.outputs;
  XRRFreeCrtcInfo(info);
  return same;
}

void Set_Crtc(Display* display, XRRScreenResources* resources,
              const Crtc_Setting& crtc) {
  std::vector<RROutput> outputs = crtc.outputs;
  XRRSetCrtcConfig(display, resources, crtc.crtc, CurrentTime, crtc.x, crtc.y,
                   crtc.mode, crtc.rotation, outputs.data(),
                   static_cast<int>(outputs.size()));
}

// A request the server refuses must not end the guardian before it has
// tried the rest.
int Ignore_X_Error(Display*, XErrorEvent*) { return 0; }

// A server that has gone has no mode left to restore: end without a word.
int End_Quietly(Display*) { _exit(0); }

// The screen first grows to hold both the current and the desktop's CRTCs,
// so that every step is a valid configuration, then takes its own size.
void Restore_Desktop_Mode(Display* display, const Desktop_Mode& desktop) {
  const Window root = DefaultRootWindow(display);
  XGrabServer(display);
  int width, height;
  Read_Screen_Size(display, &width, &height);
  Set_Screen_Size(display, std::max(desktop.width, width),
                  std::max(desktop.height, height), desktop);
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
  if (resources) {
    for (const Crtc_Setting& crtc : desktop.crtcs)
      if (!Crtc_Is_Set_As(display, resources, crtc))
        Set_Crtc(display, resources, crtc);
    XRRFreeScreenResources(resources);
  }
  Set_Screen_Size(display, desktop.width, desktop.height, desktop);
  XUngrabServer(display);
  XSync(display, False);
}

bool Send(int fd, char word) { return send(fd, &word, 1, MSG_NOSIGNAL) == 1; }

bool Receive(int fd, char* word, int timeout_ms) {
  pollfd ready = {fd, POLLIN, 0};
  return poll(&ready, 1, timeout_ms) == 1 && recv(fd, word, 1, 0) == 1;
}

// The guardian's own life, in the child. It keeps only its end of the
// channel: an X connection or a socket of the program's held open here
// would keep the program's windows on the desktop after it ended.
[[noreturn]] void Guard(int end) {
  const int kept = fcntl(end, F_DUPFD, kGuardianChannel + 1);
  dup2(kept, kGuardianChannel);
  closefrom(kGuardianChannel + 1);
  setsid();  // a job-wide kill or a closed terminal must not end it first
  prctl(PR_SET_NAME, "quarnel-guard");
  for (int signal_number : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE})
    std::signal(signal_number, SIG_IGN);
  for (int signal_number : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
    std::signal(signal_number, SIG_DFL);

  Display* display = XOpenDisplay(nullptr);
  if (!display) _exit(1);
  XSetErrorHandler(Ignore_X_Error);
  XSetIOErrorHandler(End_Quietly);
  const Desktop_Mode desktop = Read_Desktop_Mode(display);
  Send(kGuardianChannel, kReady);

  bool changed = false;
  for (;;) {
    char word;
    const ssize_t got = recv(kGuardianChannel, &word, 1, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got != 1) break;  // the program has ended
    if (word == kModeChanged) changed = true;
    if (word == kDesktopMode) changed = false;
    if (word == kRestoreNow) {
      if (changed) Restore_Desktop_Mode(display, desktop);
      changed = false;
      Send(kGuardianChannel, kRestored);
    }
  }
  if (changed) Restore_Desktop_Mode(display, desktop);
  XCloseDisplay(display);
  _exit(0);
}

bool Start_Guardian() {
  int ends[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
    return false;
  guardian = fork();
  if (guardian == 0) {
    close(ends[0]);
    Guard(ends[1]);
  }
  close(ends[1]);
  char word = 0;
  if (guardian < 0 || !Receive(ends[0], &word, kStartTimeoutMs) ||
      word != kReady) {
    close(ends[0]);
    if (guardian > 0) {
      kill(guardian, SIGKILL);  // it may still be waiting for the server
      waitpid(guardian, nullptr, 0);
    }
    guardian = -1;
    return false;
  }
  channel = ends[0];
  return true;
}

}  // namespace

namespace sdl_layer {

void Guard_Desktop_Mode(bool program_mode_in_force) {
  if (program_mode_in_force && channel < 0 && !Start_Guardian()) {
    // The program's own ends still restore the mode; only a kill would not.
    std::fprintf(
        stderr,
        "Quarnel: no guardian for the display mode could be started; "
        "if Quarnel is killed, the desktop may keep its display mode.\n");
    return;
  }
  if (channel >= 0)
    Send(channel, program_mode_in_force ? kModeChanged : kDesktopMode);
}

void Restore_Desktop_Mode_Now() {
  if (channel < 0) return;
  char answer;
  if (Send(channel, kRestoreNow)) Receive(channel, &answer, kRestoreTimeoutMs);
}

}  // namespace sdl_layer
