// Counter text on the SDL display. The game makes and deletes its font and
// its text context in every frame; both are handles into fixed pools
// (platform/common/text_handles.h), and each face is opened once per size and weight with the
// characters it has drawn kept, so a frame's text is a few blends and no allocation.
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/memory_surface.h"
#include "platform/common/text_handles.h"
#include "platform/sdl/sdl_text_face.h"
#include "platform/sdl/sdl_text_font.h"

namespace korvane::platform {

namespace {

// A face as asked for: the file found (empty for the built-in lettering) at
// one height and weight.
struct OpenedFace {
    const sdl::FontFace* found = nullptr;
    int32_t height = 0;
    int32_t weight = 0;
    std::unique_ptr<sdl::SizedFace> face;
};

std::vector<OpenedFace> faces;

sdl::SizedFace* FaceFor(int32_t height, int32_t weight, const char* name) {
    const sdl::FontFace* found = sdl::FindFontFace(name != nullptr ? name : "");
    for (const OpenedFace& opened : faces) {
        if (opened.found == found && opened.height == height && opened.weight == weight) {
            return opened.face.get();
        }
    }
    std::unique_ptr<sdl::SizedFace> face = found != nullptr
                                               ? sdl::OpenTrueTypeFace(*found, height, weight)
                                               : sdl::OpenBuiltInFace(height, weight);
    if (!face) {
        return nullptr;
    }
    faces.push_back({found, height, weight, std::move(face)});
    return faces.back().face.get();
}

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

void BlendMask(Surface& target, const sdl::GlyphMask& mask, int x, int y, const Rect& clip,
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

TextContext* SurfaceGetTextContext(Surface* surface) {
    return textHandles.TakeContext(surface);
}

Font* TextFontCreate(int32_t height, int32_t weight, const char* face) {
    sdl::SizedFace* sized = FaceFor(height != 0 ? height : kDefaultTextHeight, weight, face);
    return sized != nullptr ? textHandles.TakeFont(height, weight, face, sized) : nullptr;
}

bool TextDrawString(TextContext* context, const char* string, int32_t count, const Rect& box,
                    uint32_t format, uint32_t color) {
    if (!textHandles.CanDraw(context, string, count)) {
        return false;
    }
    // Before any font is selected the context writes in a plain face of the
    // default height, as a fresh context does on any desktop.
    const Font* font = textHandles.FontOf(*context);
    sdl::SizedFace* drawn = font != nullptr ? static_cast<sdl::SizedFace*>(font->drawn)
                                            : FaceFor(kDefaultTextHeight, 400, nullptr);
    if (drawn == nullptr) {
        return false;
    }
    sdl::SizedFace& face = *drawn;
    int width = 0;
    for (int32_t i = 0; i < count; ++i) {
        width += face.Glyph(string[i]).advance;
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
        const sdl::GlyphMask& mask = face.Glyph(string[i]);
        BlendMask(*context->surface, mask, x + mask.left, y, box, color);
        x += mask.advance;
    }
    return true;
}

}  // namespace korvane::platform
