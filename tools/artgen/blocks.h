#pragma once

#include "tools/artgen/canvas.h"

namespace korvane::artgen {

// Draws block picture `index` (0 to 7) as a lit, bevelled tile of size x size
// pixels with its top-left corner at (x, y); dim darkens it for decoration.
void DrawBlock(Canvas& canvas, double x, double y, double size, int index, double dim = 0.0);

// The 24x24 block picture for the game.
Canvas MakeBlockPicture(int index);

}  // namespace korvane::artgen
