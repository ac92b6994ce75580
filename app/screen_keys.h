#pragma once
// Tells the platform which keys the screen shown acts on (a touch screen's
// buttons show just those).
#include "app/screen_state.h"

namespace korvane {

void TellKeysInUse(ScreenState state);

}  // namespace korvane
