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

// A font made and selected into a text context by FontCreate, and deleted by
// FontDelete, the previous font selected back, when it goes out of scope
// (whether or not the font could be made).
class SelectedFont {
  public:
    SelectedFont(platform::TextContext* context, int32_t height, int32_t weight, const char* face)
        : context_(context), font_(FontCreate(context, height, weight, face, &previous_)) {}
    ~SelectedFont() { FontDelete(context_, font_, previous_); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

  private:
    platform::TextContext* context_;
    platform::Font* previous_ = nullptr;
    platform::Font* font_;
};
// Writes `count` characters of `text` in `box` in `color` (0x00BBGGRR) with a
// transparent background; always 1.
int TextDraw(platform::TextContext* context, const char* text, int32_t count,
             const platform::Rect& box, uint32_t format, uint32_t color);

}  // namespace korvane
