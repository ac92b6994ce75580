#pragma once
// The playing screen drawn over its background: the settled blocks of the
// well, the falling piece and the preview of the next piece (the counters
// are in hud.h).
#include <cstdint>

#include "gfx/hud.h"
#include "platform/display.h"

namespace korvane {

inline constexpr int kBlockPictures = 8;
inline constexpr int kBlockSize = 24;

// The well's bottom-left cell (column 0, row 0) has its top-left corner here;
// row 19 is at the top edge of the screen.
inline constexpr int32_t kWellLeft = 251;
inline constexpr int32_t kWellBottomRowTop = 456;

// Index k holds "Art\\Block<k+1>.kvp"; a board cell of value v is drawn from
// v - 1 and a piece of colour c from c. None until loaded.
extern platform::SurfaceHandle BlockSurfaces[kBlockPictures];

// Makes and fills the eight block surfaces, pausing 500 ms after each so the
// loading picture stays up. 0 at the first failure, keeping what was made.
int BlockImagesLoad();
// Releases each block surface that exists; always 1.
int BlockImagesRelease();

// The visible well (rows 0 to 19) into the back buffer. 0 when a block copy
// fails with an error other than a lost surface.
int DrawBoard();
// 0: the falling piece at its place; 1: the next piece in the preview box.
// Always 1.
int DrawPiece(int which);

// Every block surface forgotten, not released, as at program start: for after
// BlockImagesRelease, or once the machine that made them has gone.
void ResetBlockImages();

}  // namespace korvane
