// Text drawn from a face's coverage masks onto a surface in memory.
#include "platform/common/drawn_face.h"

#include <algorithm>

#include "platform/common/memory_surface.h"

namespace korvane::platform {

const GlyphMask& SizedFace::Glyph(char c) {
    const char shown = (c < kFirst || c > kLast) ? ' ' : c;
    GlyphMask& mask = glyphs_[static_cast<size_t>(shown - kFirst)];
    if (!mask.made) {
        Make(shown, &mask);
        mask.made = true;
    }
    return mask;
}

namespace {

// Blends one 8-bit channel of the ink over a 5- or 6-bit channel of the
// surface and answers the result at the surface's width.
uint32_t Blend(uint32_t over, uint32_t under, int bits, uint32_t alpha) {
    const uint32_t max = (1U << bits) - 1;
    const uint32_t overScaled = (over * max + 127) / 255;
    return (overScaled * alpha + under * (255 - alpha) + 127) / 255;
}

uint16_t BlendPixel(uint16_t under, uint32_t ink, uint32_t alpha) {
    const uint32_t r = Blend(ink & 0xFF, (under >> 11) & 0x1F, 5, alpha);
    const uint32_t g = Blend((ink >> 8) & 0xFF, (under >> 5) & 0x3F, 6, alpha);
    const uint32_t b = Blend((ink >> 16) & 0xFF, under & 0x1F, 5, alpha);
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

void BlendMask(Surface& target, const GlyphMask& mask, int x, int y, const Rect& clip,
               uint32_t ink) {
    const int left = std::max({clip.left, 0, x});
    const int top = std::max({clip.top, 0, y});
    const int right = std::min({clip.right, static_cast<int32_t>(target.width), x + mask.width});
    const int bottom =
        std::min({clip.bottom, static_cast<int32_t>(target.height), y + mask.height});
    for (int py = top; py < bottom; ++py) {
        const uint8_t* row = mask.coverage.data() + static_cast<size_t>(py - y) * mask.width;
        for (int px = left; px < right; ++px) {
            const uint8_t alpha = row[px - x];
            if (alpha == 0) {
                continue;
            }
            const auto ux = static_cast<uint32_t>(px);
            const auto uy = static_cast<uint32_t>(py);
            target.Set(ux, uy, BlendPixel(target.Get(ux, uy), ink, alpha));
        }
    }
}

}  // namespace

void DrawFaceText(Surface& surface, SizedFace& face, const char* text, int32_t count,
                  const Rect& box, uint32_t format, uint32_t color) {
    int width = 0;
    for (int32_t i = 0; i < count; ++i) {
        width += face.Glyph(text[i]).advance;
    }
    int x = box.left;
    int y = box.top;
    if ((format & kTextCenter) != 0) {
        x += (box.right - box.left - width) / 2;
    }
    if ((format & kTextVerticalCenter) != 0) {
        y += (box.bottom - box.top - face.LineHeight()) / 2;
    }
    for (int32_t i = 0; i < count; ++i) {
        const GlyphMask& mask = face.Glyph(text[i]);
        BlendMask(surface, mask, x + mask.left, y, box, color);
        x += mask.advance;
    }
}

}  // namespace korvane::platform
