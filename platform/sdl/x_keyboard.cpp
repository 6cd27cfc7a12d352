// The layer's own X connection, and what the X server says of the keyboard.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "platform/sdl/layer.h"

namespace {

// The X keysyms of a virtual-key code: both sides for the modifiers.
struct Key_Syms {
  KeySym first, second;
};

Key_Syms Keysyms_Of(int virtual_key) {
  if (virtual_key >= 'A' && virtual_key <= 'Z')
    return {static_cast<KeySym>(XK_a + (virtual_key - 'A')), NoSymbol};
  if (virtual_key >= '0' && virtual_key <= '9')
    return {static_cast<KeySym>(XK_0 + (virtual_key - '0')), NoSymbol};
  if (virtual_key >= VK_F1 && virtual_key < VK_F1 + 12)
    return {static_cast<KeySym>(XK_F1 + (virtual_key - VK_F1)), NoSymbol};
  switch (virtual_key) {
    case VK_LEFT:
      return {XK_Left, NoSymbol};
    case VK_UP:
      return {XK_Up, NoSymbol};
    case VK_RIGHT:
      return {XK_Right, NoSymbol};
    case VK_DOWN:
      return {XK_Down, NoSymbol};
    case VK_ESCAPE:
      return {XK_Escape, NoSymbol};
    case 0x08:
      return {XK_BackSpace, NoSymbol};
    case 0x09:
      return {XK_Tab, NoSymbol};
    case 0x0D:
      return {XK_Return, NoSymbol};
    case 0x10:
      return {XK_Shift_L, XK_Shift_R};
    case 0x11:
      return {XK_Control_L, XK_Control_R};
    case 0x12:
      return {XK_Alt_L, XK_Alt_R};
    case 0x20:
      return {XK_space, NoSymbol};
    default:
      return {NoSymbol, NoSymbol};
  }
}

bool Is_Down(const char (&keymap)[32], Display* display, KeySym keysym) {
  if (keysym == NoSymbol) return false;
  const KeyCode keycode = XKeysymToKeycode(display, keysym);
  return keycode != 0 && (keymap[keycode / 8] & (1 << (keycode % 8)));
}

}  // namespace

namespace sdl_layer {

Display* X_Connection() {
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

bool Key_Is_Down_On_Server(int virtual_key) {
  Display* display = X_Connection();
  if (!display) return false;
  char keymap[32];
  XQueryKeymap(display, keymap);
  const Key_Syms syms = Keysyms_Of(virtual_key);
  return Is_Down(keymap, display, syms.first) ||
         Is_Down(keymap, display, syms.second);
}

}  // namespace sdl_layer
