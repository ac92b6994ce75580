#pragma once
// The playing screen drawn over its background: the settled blocks of the
// well, the falling piece, the preview of the next piece and the counters.
#include <cstdint>

#include "platform/display.h"

namespace korvane {

inline constexpr int kBlockPictures = 8;
inline constexpr int kBlockSize = 24;

// The well's bottom-left cell (column 0, row 0) has its top-left corner here;
// row 19 is at the top edge of the screen.
inline constexpr int32_t kWellLeft = 251;
inline constexpr int32_t kWellBottomRowTop = 456;

// Index k holds "Art\\Block<k+1>.kvp"; a board cell of value v is drawn from
// v - 1 and a piece of colour c from c. Null until loaded.
extern platform::Surface* BlockSurfaces[kBlockPictures];

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
// Score, level and lines in their rectangles on the back buffer; always 1.
int DrawHud();

// Makes a font and selects it into `context`, storing the font it had before.
platform::Font* FontCreate(platform::TextContext* context, int32_t height, int32_t weight,
                           const char* face, platform::Font** previous);
// Selects `previous` back and deletes `font`; always 1.
int FontDelete(platform::TextContext* context, platform::Font* font, platform::Font* previous);
// Writes `count` characters of `text` in `box` in `color` (0x00BBGGRR) with a
// transparent background; always 1.
int TextDraw(platform::TextContext* context, const char* text, int32_t count,
             const platform::Rect& box, uint32_t format, uint32_t color);

}  // namespace korvane
