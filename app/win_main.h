#pragma once
// The program: its window, the message loop and the exit code.
#include <cstdint>

#include "platform/window.h"

namespace korvane {

// The exit code after a start-up that failed.
inline constexpr int kStartUpFailedExitCode = 1;

// Creates the window, starts up, runs one frame per loop turn until the
// menu's exit or a quit message, shuts down. Returns the exit code: the
// parameter of the last message the loop took (0 when none), or 1 after a
// failed start-up, which is also reported in one line on standard error.
int WinMain();

// The window's handler: the window's destruction asks the loop to quit.
intptr_t WindowProc(const platform::WindowMessage& message);

}  // namespace korvane
