#pragma once
// A face opened once at one size and weight, with each character it has drawn
// kept as a coverage mask: writing the counters in a frame is then a few
// blends of masks already made, with no font opened and nothing allocated.
// The backends that draw their text in memory share it; each makes the masks
// its own way (a font file, or the game's own stroke lettering).
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/common/text_handles.h"

namespace korvane::platform {

// One character as drawn: `coverage` is width x height, 0 to 255, placed
// `left` pixels right of the pen on the line's top; the pen then moves on by
// `advance`.
struct GlyphMask {
    bool made = false;
    int left = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

class SizedFace : public DrawnFace {
  public:
    // The height of a line of text, which vertical centring places.
    int LineHeight() const { return lineHeight_; }
    // The mask of `c`; characters outside printable ASCII are drawn as a space.
    const GlyphMask& Glyph(char c);

  protected:
    explicit SizedFace(int lineHeight) : lineHeight_(lineHeight) {}
    virtual void Make(char c, GlyphMask* mask) = 0;

  private:
    static constexpr char kFirst = ' ';
    static constexpr char kLast = '~';
    int lineHeight_;
    std::array<GlyphMask, kLast - kFirst + 1> glyphs_;
};

// The game's own stroke lettering at `height` (negative: the character
// height) and `weight`: digits, capitals and a few signs, the same pixels on
// every machine. Null for a height of 0.
std::unique_ptr<SizedFace> OpenBuiltInFace(int height, int weight);

// Writes `count` characters of `text` in `face` onto a 5-6-5 `surface`, placed
// in `box` by `format` (kTextCenter, kTextVerticalCenter) and clipped to it,
// blending `color` (0x00BBGGRR) by each mask's coverage.
void DrawFaceText(Surface& surface, SizedFace& face, const char* text, int32_t count,
                  const Rect& box, uint32_t format, uint32_t color);

}  // namespace korvane::platform
