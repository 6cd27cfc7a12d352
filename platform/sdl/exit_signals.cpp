// Signals that end the program. SDL turns SIGINT and SIGTERM into a quit
// event; a hang-up (the terminal closed) goes the same way here, through the
// normal tear-down. Crashes and SIGQUIT cannot go that way: they have the
// desktop's mode put back first and then take their default action, so that
// the exit status and any core dump stay as they were.
#include <csignal>

#include "platform/sdl/layer.h"

namespace {

volatile sig_atomic_t hang_up_pending = 0;

void Note_Hang_Up(int) { hang_up_pending = 1; }

void Restore_Then_Die(int signal_number) {
  sdl_layer::Restore_Desktop_Mode_Now();
  // The handler was reset on entry: once it returns the signal, blocked
  // until then, takes its default action.
  raise(signal_number);
}

void Install(int signal_number, void (*handler)(int), int flags) {
  struct sigaction action = {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(signal_number, &action, nullptr);
}

}  // namespace

namespace sdl_layer {

void Handle_Exit_Signals() {
  Install(SIGHUP, Note_Hang_Up, SA_RESTART);
  for (int signal_number : {SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
    Install(signal_number, Restore_Then_Die, SA_RESETHAND);
}

bool Take_Hang_Up() {
  if (!hang_up_pending) return false;
  hang_up_pending = 0;
  return true;
}

}  // namespace sdl_layer
