// Message boxes, drawn by SDL; on standard error where none can be drawn.
#include <csignal>
#include <cstdio>

#include "platform/sdl/layer.h"

namespace {

// While a box waits for its answer no events are taken, so SDL's own
// handlers would leave SIGINT and SIGTERM unanswered until the user clicks.
// Every box comes up while the desktop's display mode is in force (before a
// mode change, after a refused one, or after the tear-down has restored it),
// so the signals may simply end the program meanwhile.
class Default_Signal_Handling {
 public:
  Default_Signal_Handling()
      : interrupt_(std::signal(SIGINT, SIG_DFL)),
        terminate_(std::signal(SIGTERM, SIG_DFL)) {}
  ~Default_Signal_Handling() {
    std::signal(SIGINT, interrupt_);
    std::signal(SIGTERM, terminate_);
  }
  Default_Signal_Handling(const Default_Signal_Handling&) = delete;
  Default_Signal_Handling& operator=(const Default_Signal_Handling&) = delete;

 private:
  void (*interrupt_)(int);
  void (*terminate_)(int);
};

Uint32 Box_Kind(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONSTOP:
      return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION:
      return SDL_MESSAGEBOX_WARNING;
    default:
      return SDL_MESSAGEBOX_INFORMATION;
  }
}

}  // namespace

int WINAPI MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  // The first button answers Return, as on Windows; Escape answers the last,
  // so that No can be given from the keyboard too.
  const SDL_MessageBoxButtonData yes_no[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
  };
  const SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
           SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
       IDOK, "OK"},
  };
  const bool asks_yes_no = (uType & 0x0F) == MB_YESNO;

  SDL_MessageBoxData box = {};
  box.flags = Box_Kind(uType) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  box.title = lpCaption ? lpCaption : "";
  box.message = lpText ? lpText : "";
  box.numbuttons = asks_yes_no ? 2 : 1;
  box.buttons = asks_yes_no ? yes_no : ok;

  int answer = 0;
  {
    const Default_Signal_Handling signals_end_the_program;
    if (SDL_ShowMessageBox(&box, &answer) == 0 && answer != -1) return answer;
  }

  // No box could be shown (or it was closed without an answer): tell the
  // user here instead, and take the default answer.
  std::fprintf(stderr, "%s: %s\n", box.title, box.message);
  return box.buttons[0].buttonid;
}
