#pragma once
// The program: its window, the message loop and the exit code.
#include <cstdint>

#include "platform/game_entry.h"
#include "platform/window.h"

namespace korvane {

// The exit code after a start-up that failed.
inline constexpr int kStartUpFailedExitCode = 1;

// The window's handler: the window's destruction asks the loop to quit.
intptr_t WindowProc(const platform::WindowMessage& message);

}  // namespace korvane
