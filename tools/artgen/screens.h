#pragma once

#include "tools/artgen/canvas.h"

namespace korvane::artgen {

// The four 640x480 pictures and the 32x32 window icon.
Canvas MakeLoadingScreen();
Canvas MakePlayScreen();
Canvas MakeMainMenu();
Canvas MakeFileMenu();
Canvas MakeIcon();

}  // namespace korvane::artgen
