#pragma once
// The counters beside the well: score, level and lines written with a font
// made for each frame, and the small text buffer they are formatted in.
#include <cstdint>

#include "platform/display.h"

namespace korvane {

// The one small text buffer of the playing screen: the counters are formatted
// into it, and the block pictures' file names are built in it.
inline constexpr int kPlayfieldTextBytes = 32;
extern char playfieldText[kPlayfieldTextBytes];

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
