#pragma once

#include "platform/platform.h"

// A key counts as held when the high bit of its low byte is set, as of the
// last message taken from the queue.
inline bool Is_Key_Held(int virtual_key) {
  return (GetKeyState(virtual_key) & 0x80) != 0;
}
