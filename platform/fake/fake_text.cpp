// The headless text context: every string drawn is recorded, and drawn with a
// small built-in face of 5x7 cells so that saved pictures show the counters.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "platform/common/text_handles.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"

namespace korvane {

namespace {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;

// Rows top first, bit 4 the leftmost column.
struct Glyph {
    char character;
    std::array<uint8_t, kGlyphRows> rows;
};
constexpr Glyph kFace[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};

const Glyph* FindGlyph(char character) {
    for (const Glyph& glyph : kFace) {
        if (glyph.character == character) {
            return &glyph;
        }
    }
    return nullptr;  // drawn as a blank cell
}

std::vector<fake::TextDrawCall> draws;

}  // namespace

namespace platform {

TextContext* SurfaceGetTextContext(Surface* surface) {
    if (fake::StepFailure("display.textcontext") != 0 || fake::detail::SurfacesAnswerLost()) {
        return nullptr;
    }
    return textHandles.TakeContext(surface);
}

Font* TextFontCreate(int32_t height, int32_t weight, const char* face) {
    if (fake::StepFailure("display.font") != 0) {
        return nullptr;
    }
    return textHandles.TakeFont(height, weight, face, nullptr);
}

bool TextDrawString(TextContext* context, const char* string, int32_t count, const Rect& box,
                    uint32_t format, uint32_t color) {
    if (fake::StepFailure("display.text") != 0 || !textHandles.CanDraw(context, string, count)) {
        return false;
    }
    const std::string drawn(string, static_cast<size_t>(count));
    const Font* font = textHandles.FontOf(*context);
    fake::detail::AppendRecord(
        draws, fake::TextDrawCall{
                   drawn, box, format, color, font != nullptr ? font->face.data() : std::string(),
                   font != nullptr ? font->height : 0, font != nullptr ? font->weight : 0});
    int32_t height = font != nullptr ? std::abs(font->height) : 0;
    fake::detail::DrawBuiltInText(*context->surface, drawn, box, format,
                                  height != 0 ? height : kDefaultTextHeight,
                                  fake::detail::PackColorRef(color));
    return true;
}

}  // namespace platform

namespace fake {

const std::vector<TextDrawCall>& TextDraws() {
    return draws;
}
int FontsAlive() {
    return static_cast<int>(std::count_if(platform::textHandles.fonts.begin(),
                                          platform::textHandles.fonts.end(),
                                          [](const auto& f) { return f.held; }));
}
int TextContextsHeld() {
    return static_cast<int>(std::count_if(platform::textHandles.contexts.begin(),
                                          platform::textHandles.contexts.end(),
                                          [](const auto& c) { return c.held; }));
}

namespace detail {

void ClearTextDraws() {
    draws.clear();
}

void ResetText() {
    platform::textHandles = platform::TextHandles{};
    draws.clear();
}

void DrawBuiltInText(platform::Surface& surface, const std::string& string,
                     const platform::Rect& box, uint32_t format, int32_t glyphHeight,
                     uint16_t pixel) {
    const int scale = std::max(1, glyphHeight / 10);
    const int advance = (kGlyphColumns + 1) * scale;
    const int width = static_cast<int>(string.size()) * advance - scale;
    const int height = kGlyphRows * scale;
    int x = box.left;
    int y = box.top;
    if ((format & platform::kTextCenter) != 0) {
        x += (box.right - box.left - width) / 2;
    }
    if ((format & platform::kTextVerticalCenter) != 0) {
        y += (box.bottom - box.top - height) / 2;
    }
    // Clipped to the box and to the surface.
    const int left = std::max(box.left, 0);
    const int top = std::max(box.top, 0);
    const int right = std::min(box.right, static_cast<int32_t>(surface.width));
    const int bottom = std::min(box.bottom, static_cast<int32_t>(surface.height));
    for (const char character : string) {
        if (const Glyph* glyph = FindGlyph(character)) {
            for (int gy = 0; gy < kGlyphRows * scale; ++gy) {
                for (int gx = 0; gx < kGlyphColumns * scale; ++gx) {
                    const bool set =
                        ((glyph->rows[gy / scale] >> (kGlyphColumns - 1 - gx / scale)) & 1) != 0;
                    const int px = x + gx;
                    const int py = y + gy;
                    if (set && px >= left && px < right && py >= top && py < bottom) {
                        surface.Set(static_cast<uint32_t>(px), static_cast<uint32_t>(py), pixel);
                    }
                }
            }
        }
        x += advance;
    }
}

}  // namespace detail
}  // namespace fake
}  // namespace korvane
