#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/artgen/canvas.h"

namespace korvane::artgen {

// 8-bit red, green, blue (and alpha when channels is 4), top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<std::uint8_t> bytes;
};

// The picture as the game shows it: each channel ordered-dithered down to the
// five bits the 16-bit display keeps (green loses its sixth bit there too),
// written back as 8-bit values whose top five bits are that level.
Pixels QuantiseForDisplay(const Canvas& canvas);
// Plain rounding to 8 bits with coverage as alpha, for the window icon.
Pixels RoundToRgba(const Canvas& canvas);

// A .kvp file: 14-byte header, then blue, green, red per pixel, top row first.
std::vector<std::uint8_t> EncodeKvp(const Pixels& pixels);
// A PNG with stored (uncompressed) deflate blocks, so its bytes depend on no
// compression library.
std::vector<std::uint8_t> EncodePng(const Pixels& pixels);
// A C++ header holding the icon's RGBA bytes.
std::string EncodeIconHeader(const Pixels& rgba);

}  // namespace korvane::artgen
