#pragma once
// 16-bit pixels to 8 bits a channel. A channel is widened by repeating its top
// bits below, so black stays 0, full stays 255 and the steps between are as
// even as 8 bits allow: the headless pictures, the page's canvas, the
// desktop's window and the art generator's previews all show the same bytes
// for the same pixel. Plain arithmetic, so the tools may use it too.
#include <cstdint>

namespace korvane::platform {

struct Rgb8 {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

// A channel of `bits` bits (5 or 6) widened to 8.
constexpr uint8_t WidenChannel(uint32_t value, int bits) {
    return static_cast<uint8_t>((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

constexpr Rgb8 Widen565(uint16_t pixel) {
    return {WidenChannel((pixel >> 11) & 0x1FU, 5), WidenChannel((pixel >> 5) & 0x3FU, 6),
            WidenChannel(pixel & 0x1FU, 5)};
}

constexpr Rgb8 Widen555(uint16_t pixel) {
    return {WidenChannel((pixel >> 10) & 0x1FU, 5), WidenChannel((pixel >> 5) & 0x1FU, 5),
            WidenChannel(pixel & 0x1FU, 5)};
}

static_assert(Widen565(0xFFFF).r == 255 && Widen565(0xFFFF).g == 255 && Widen565(0xFFFF).b == 255);
static_assert(Widen565(0x0841).r == 8 && Widen565(0x0841).g == 8 && Widen565(0x0841).b == 8);

}  // namespace korvane::platform
