#pragma once
// The fake display's surfaces, shared by its own files only.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/display.h"

namespace korvane::platform {

// Plain memory rows of 16-bit pixels, `pitch` bytes apart.
struct Surface {
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t pitch = 0;
    std::vector<uint8_t> bytes;
    const char* kind = "offscreen";       // "primary", "backbuffer" or "offscreen"
    std::unique_ptr<Surface> backBuffer;  // a primary surface's flipping partner

    Surface(uint32_t w, uint32_t h, uint32_t padding, const char* what)
        : width(w),
          height(h),
          pitch(static_cast<int32_t>(w * 2 + padding)),
          bytes(static_cast<size_t>(pitch) * h, 0),
          kind(what) {}

    uint16_t Get(uint32_t x, uint32_t y) const {
        uint16_t pixel = 0;
        std::memcpy(&pixel, bytes.data() + static_cast<size_t>(y) * pitch + x * 2, 2);
        return pixel;
    }
    void Set(uint32_t x, uint32_t y, uint16_t pixel) {
        std::memcpy(bytes.data() + static_cast<size_t>(y) * pitch + x * 2, &pixel, 2);
    }
};

}  // namespace korvane::platform

namespace korvane::fake::detail {

// Whether the display packs pixels 5-5-5 (red at bit 10) rather than 5-6-5.
bool DisplayIs555();
// A 0x00BBGGRR colour packed as the display packs pixels.
uint16_t PackColorRef(uint32_t color);
void ResetText();       // contexts, fonts and records
void ClearTextDraws();  // the records only
// Draws `text` with the built-in face into `box` of `surface`, clipped to the
// box, `glyphHeight` pixels high, centred as `format` asks.
void DrawBuiltInText(platform::Surface& surface, const std::string& text, const platform::Rect& box,
                     uint32_t format, int32_t glyphHeight, uint16_t pixel);

}  // namespace korvane::fake::detail
