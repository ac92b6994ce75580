#pragma once
// A face opened once at one size and weight, with each character it has drawn
// kept as a coverage mask: writing the counters in a frame is then a few
// blends of masks already made, with no font opened and nothing allocated.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/common/text_handles.h"

namespace korvane::platform::sdl {

struct FontFace;

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

// `face` (a file fontconfig found) at `height` (negative: the character
// height) and `weight`; null when the file cannot be opened as a font.
std::unique_ptr<SizedFace> OpenTrueTypeFace(const FontFace& face, int height, int weight);

// The game's own stroke lettering at the same size: digits, capitals and a
// few signs, for a machine that has no scalable face at all.
std::unique_ptr<SizedFace> OpenBuiltInFace(int height, int weight);

}  // namespace korvane::platform::sdl
