#include "tests/e2e/desktop.h"

#include "tests/support/frame_checks.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

std::string Output_Of(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, n);
  pclose(pipe);
  return output;
}

// A client message about a window: the first data word is the atom named
// (or the current time), the second the time (or `source`). It goes to the
// window itself, or to the root where a window manager listens.
bool Send_Client_Message(unsigned long window, const char* type,
                         const char* first_atom, bool to_root,
                         long source = CurrentTime) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, type, False);
  event.xclient.format = 32;
  event.xclient.data.l[0] =
      first_atom ? static_cast<long>(XInternAtom(display, first_atom, False))
                 : CurrentTime;
  event.xclient.data.l[1] = first_atom ? CurrentTime : source;
  const Status sent =
      to_root ? XSendEvent(display, DefaultRootWindow(display), False,
                           SubstructureRedirectMask | SubstructureNotifyMask,
                           &event)
              : XSendEvent(display, window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return sent != 0;
}

}  // namespace

void Sleep(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::optional<Window_Info> Find_Window(const std::string& name) {
  // Lines look like:  0x20000f "Title": ("res" "class")  640x480+0+0  +0+0
  std::istringstream tree(Output_Of("xwininfo -root -tree 2>/dev/null"));
  const std::string quoted = "\"" + name + "\":";
  for (std::string line; std::getline(tree, line);) {
    const size_t at = line.find(quoted);
    if (at == std::string::npos) continue;
    Window_Info info{};
    info.id = std::strtoul(line.c_str(), nullptr, 16);
    const size_t size_at = line.find_last_of(')') + 1;
    int rel_x, rel_y;
    if (std::sscanf(line.c_str() + size_at, " %dx%d%d%d %d%d", &info.width,
                    &info.height, &rel_x, &rel_y, &info.x, &info.y) == 6)
      return info;
  }
  return std::nullopt;
}

std::optional<Window_Info> Wait_For_Window(const std::string& name,
                                           double seconds) {
  return Poll(seconds, [&] { return Find_Window(name); });
}

bool Wait_Until_Gone(const std::string& name, double seconds) {
  return Poll(seconds, [&] { return !Find_Window(name); });
}

bool Xdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) ==
         0;
}

bool Press_Key_In(const Window_Info& window, const std::string& key) {
  return Xdotool("key --window " + std::to_string(window.id) + " " + key);
}

Point Cursor_Position() {
  Point p{-1, -1};
  std::istringstream shell(Output_Of("xdotool getmouselocation --shell"));
  for (std::string line; std::getline(shell, line);) {
    if (line.rfind("X=", 0) == 0) p.x = std::atoi(line.c_str() + 2);
    if (line.rfind("Y=", 0) == 0) p.y = std::atoi(line.c_str() + 2);
  }
  return p;
}

bool Send_Close_Request(const Window_Info& window) {
  return Send_Client_Message(window.id, "WM_PROTOCOLS", "WM_DELETE_WINDOW",
                             /*to_root=*/false);
}

bool Wait_Until_Framed(const Window_Info& window, double seconds) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  const bool framed = Poll(seconds, [&] {
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window.id, &root, &parent, &children, &count))
      return false;
    if (children) XFree(children);
    return parent != root;
  });
  XCloseDisplay(display);
  return framed;
}

bool Ask_Window_Manager_To_Close(const Window_Info& window) {
  // Sent to the root, where the window manager listens; source 2: a pager
  // or other direct action.
  return Send_Client_Message(window.id, "_NET_CLOSE_WINDOW", nullptr,
                             /*to_root=*/true, 2);
}

Size Screen_Size() {
  Size size{-1, -1};
  Display* display = XOpenDisplay(nullptr);
  if (!display) return size;
  Window root;
  int x, y;
  unsigned int width, height, border, depth;
  if (XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width,
                   &height, &border, &depth))
    size = {static_cast<int>(width), static_cast<int>(height)};
  XCloseDisplay(display);
  return size;
}

Size Monitor_Mode() {
  Size size{-1, -1};
  Display* display = XOpenDisplay(nullptr);
  if (!display) return size;
  XRRScreenResources* resources =
      XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  for (int i = 0; resources && i < resources->ncrtc && size.width < 0; ++i) {
    XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
    if (crtc && crtc->mode != None)
      size = {static_cast<int>(crtc->width), static_cast<int>(crtc->height)};
    if (crtc) XRRFreeCrtcInfo(crtc);
  }
  if (resources) XRRFreeScreenResources(resources);
  XCloseDisplay(display);
  return size;
}

bool Wait_For_Mode(Size mode, double seconds) {
  return Poll(seconds,
              [&] { return Monitor_Mode() == mode && Screen_Size() == mode; });
}

namespace {

// Every process's id, with its parent's and its group's.
struct Process {
  int pid, parent, group;
};

std::vector<Process> Processes() {
  std::vector<Process> processes;
  DIR* proc = opendir("/proc");
  if (!proc) return processes;
  while (const dirent* entry = readdir(proc)) {
    const int pid = std::atoi(entry->d_name);
    if (pid <= 0) continue;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)),
                     std::istreambuf_iterator<char>());
    // pid (comm) state ppid pgrp ...; comm may hold spaces and brackets.
    const size_t after_name = text.rfind(')');
    Process process{pid, 0, 0};
    char state;
    if (after_name != std::string::npos &&
        std::sscanf(text.c_str() + after_name + 1, " %c %d %d", &state,
                    &process.parent, &process.group) == 3 &&
        state != 'Z')
      processes.push_back(process);
  }
  closedir(proc);
  return processes;
}

}  // namespace

std::vector<int> Process_Group(int group) {
  std::vector<int> members;
  for (const Process& process : Processes())
    if (process.group == group) members.push_back(process.pid);
  return members;
}

std::vector<int> Children_Of(int parent) {
  std::vector<int> children;
  for (const Process& process : Processes())
    if (process.parent == parent) children.push_back(process.pid);
  return children;
}

bool Wait_Until_Ended(const std::vector<int>& processes, double seconds) {
  return Poll(seconds, [&] {
    for (const Process& process : Processes())
      for (int pid : processes)
        if (process.pid == pid) return false;
    return true;
  });
}

test_support::Rgb Screenshot::At(int x, int y) const {
  const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
  return {p[0], p[1], p[2]};
}

Screenshot Take_Screenshot() {
  char path[] = "/tmp/quarnel-shot-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return {};
  close(fd);
  Screenshot shot;
  const std::string command =
      std::string("import -window root -depth 8 ppm:") + path + " 2>/dev/null";
  if (std::system(command.c_str()) == 0) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int max_value = 0;
    in >> magic >> shot.width >> shot.height >> max_value;
    in.get();  // the single whitespace before the pixels
    if (magic == "P6" && max_value == 255) {
      shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
      in.read(reinterpret_cast<char*>(shot.rgb.data()), shot.rgb.size());
      if (!in) shot = {};
    } else {
      shot = {};
    }
  }
  std::remove(path);
  return shot;
}

int Violet_Pixels(const Screenshot& shot, const Window_Info& window) {
  int count = 0;
  for (int y = window.y; y < window.y + window.height && y < shot.height; ++y)
    for (int x = window.x; x < window.x + window.width && x < shot.width; ++x)
      count += test_support::Near(shot.At(x, y), {255, 0, 255});
  return count;
}

bool Wait_Until_Drawn(const Window_Info& window, double seconds) {
  return Poll(seconds,
              [&] { return Violet_Pixels(Take_Screenshot(), window) > 1000; });
}

bool Save_Client_Area(const std::string& path) {
  return std::system(("import -window root -crop 640x480+0+0 +repage " + path +
                      " 2>/dev/null")
                         .c_str()) == 0;
}

}  // namespace e2e
