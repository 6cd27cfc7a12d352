// Message boxes, drawn by SDL; on standard error where none can be drawn.
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "platform/sdl/layer.h"

namespace {

// While a box waits for its answer no events are taken, so SDL's own
// handlers would leave these signals unanswered until the user clicks. Every
// box comes up while the desktop's display mode is in force (before a mode
// change, after a refused one, or after the tear-down has restored it), so
// the signals may simply end the program meanwhile.
class Default_Signal_Handling {
 public:
  Default_Signal_Handling() {
    for (int i = 0; i < kCount; ++i)
      previous_[i] = std::signal(kSignals[i], SIG_DFL);
  }
  ~Default_Signal_Handling() {
    for (int i = 0; i < kCount; ++i) std::signal(kSignals[i], previous_[i]);
  }
  Default_Signal_Handling(const Default_Signal_Handling&) = delete;
  Default_Signal_Handling& operator=(const Default_Signal_Handling&) = delete;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
  static constexpr int kCount = sizeof kSignals / sizeof kSignals[0];
  void (*previous_[kCount])(int);
};

// SDL draws each box in a child process of its own. Should the program end
// while the box waits, by whatever signal, that child must end with it
// rather than stay on the desktop, orphaned.
pid_t box_owner = 0;  // the program's process id while a box is up

void End_With_The_Box_Owner() {
  if (!box_owner) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != box_owner) _exit(0);  // the owner ended before prctl
}

class Box_Child_Ends_With_Program {
 public:
  Box_Child_Ends_With_Program() {
    static const bool registered =
        pthread_atfork(nullptr, nullptr, End_With_The_Box_Owner) == 0;
    (void)registered;
    box_owner = getpid();
  }
  ~Box_Child_Ends_With_Program() { box_owner = 0; }
  Box_Child_Ends_With_Program(const Box_Child_Ends_With_Program&) = delete;
  Box_Child_Ends_With_Program& operator=(const Box_Child_Ends_With_Program&) =
      delete;
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

  int answer = -1;
  int shown = -1;
  {
    const Default_Signal_Handling signals_end_the_program;
    const Box_Child_Ends_With_Program no_orphan;
    shown = SDL_ShowMessageBox(&box, &answer);
  }
  if (shown == 0) {
    // Closed unanswered: Windows offers no way to, so take the cautious
    // answer, the one Escape gives.
    return answer == -1 ? box.buttons[box.numbuttons - 1].buttonid : answer;
  }

  // No box could be shown: tell the user here instead, and take the default
  // answer.
  std::fprintf(stderr, "%s: %s\n", box.title, box.message);
  return box.buttons[0].buttonid;
}
