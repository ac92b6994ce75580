#pragma once

#include "tools/artgen/canvas.h"

namespace korvane::artgen {

// The four 640x480 pictures, and the icon: 32x32 for the window, larger for
// the desktop's menus and software centre.
Canvas MakeLoadingScreen();
Canvas MakePlayScreen();
Canvas MakeMainMenu();
Canvas MakeFileMenu();
Canvas MakeIcon(int size = 32);

}  // namespace korvane::artgen
