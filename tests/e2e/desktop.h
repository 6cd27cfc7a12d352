// Driving and watching the X desktop from end-to-end tests, with the same
// tools a person would use: xwininfo, xdotool and ImageMagick's import.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/poll.h"
#include "tests/support/scene_model.h"

namespace e2e {

struct Window_Info {
  unsigned long id;
  int x, y, width, height;  // absolute position and size of the window
};

// The top-level window with exactly this name, if there is one now.
std::optional<Window_Info> Find_Window(const std::string& name);
std::optional<Window_Info> Wait_For_Window(const std::string& name,
                                           double seconds = 10);
bool Wait_Until_Gone(const std::string& name, double seconds = 10);

// Runs xdotool with these arguments; false when it failed.
bool Xdotool(const std::string& arguments);
// Presses a key in that window (for message boxes, which take no focus).
bool Press_Key_In(const Window_Info& window, const std::string& key);

struct Point {
  int x, y;
};
Point Cursor_Position();

// Asks a window to close, as a window manager's close button does.
bool Send_Close_Request(const Window_Info& window);
// Waits until a window manager has put the window into a frame of its own.
bool Wait_Until_Framed(const Window_Info& window, double seconds = 10);
// Asks the window manager to close a window (its close button's request).
bool Ask_Window_Manager_To_Close(const Window_Info& window);

struct Size {
  int width, height;
  bool operator==(const Size& other) const {
    return width == other.width && height == other.height;
  }
};
inline std::ostream& operator<<(std::ostream& out, const Size& size) {
  return out << size.width << "x" << size.height;
}
// The screen's size, and the size of the mode its monitor shows (RandR).
Size Screen_Size();
Size Monitor_Mode();
// Waits until the monitor shows a mode of this size, and the screen is the
// same size.
bool Wait_For_Mode(Size mode, double seconds = 5);

// The processes in this process group now, and the children of a process.
std::vector<int> Process_Group(int group);
std::vector<int> Children_Of(int parent);
// Waits until none of these processes is left.
bool Wait_Until_Ended(const std::vector<int>& processes, double seconds = 5);

struct Screenshot {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;  // top row first
  test_support::Rgb At(int x, int y) const;
  // The pixel of a 640 x 480 client area at the screen's origin, in GL's
  // bottom-up row order.
  test_support::Rgb At_Gl(int column, int row) const {
    return At(column, 479 - row);
  }
};
Screenshot Take_Screenshot();
// Violet (the sphere's colour) pixels in a window's area of the screenshot.
int Violet_Pixels(const Screenshot& shot, const Window_Info& window);
// Waits until the window shows the sphere: its first frames are drawn.
bool Wait_Until_Drawn(const Window_Info& window, double seconds = 10);
// Saves the 640 x 480 area at the origin as a PNG.
bool Save_Client_Area(const std::string& path);

void Sleep(double seconds);

using test_support::Poll;

}  // namespace e2e
