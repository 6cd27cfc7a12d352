#pragma once

// Walks and side-steps the global camera by the keys held right now.
void Keyboard_Input();
