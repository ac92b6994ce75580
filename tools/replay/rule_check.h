#pragma once
// The rules every frame must leave intact, whatever keys were pressed.
#include <string>

#include "app/screen_state.h"

namespace korvane::replay {

// What is wrong with the board, the counters or the falling piece after a
// frame that ran in `state`, in words; empty when nothing is.
std::string BrokenGameRule(ScreenState state);

}  // namespace korvane::replay
