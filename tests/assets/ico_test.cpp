#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "tools/artgen/ico.h"
#include "tools/artgen/screens.h"

namespace korvane::test {
namespace {

uint32_t Le32(const std::vector<std::uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// Reads the one image back: each pixel's colour from the palette, or none
// where the mask makes it transparent. Rows are stored bottom first.
struct Decoded {
    std::vector<std::array<std::uint8_t, 3>> colours;
    std::vector<bool> transparent;
};
Decoded Decode(const std::vector<std::uint8_t>& ico, int width, int height) {
    const size_t image = Le32(ico, 18);
    const size_t palette = image + 40;
    const size_t indices = palette + 256 * 4;
    const size_t indexRow = (width + 3) / 4 * 4;
    const size_t mask = indices + indexRow * height;
    const size_t maskRow = (width + 31) / 32 * 4;
    Decoded out;
    for (int y = 0; y < height; ++y) {
        const size_t row = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const size_t p = palette + 4 * ico[indices + row * indexRow + x];
            out.colours.push_back({ico[p + 2], ico[p + 1], ico[p]});
            out.transparent.push_back((ico[mask + row * maskRow + x / 8] & (0x80 >> (x % 8))) != 0);
        }
    }
    return out;
}

artgen::Pixels Rgba(int width, int height) {
    artgen::Pixels pixels{width, height, 4, std::vector<std::uint8_t>(width * height * 4, 0)};
    return pixels;
}

// A picture of few colours comes back exactly, with its see-through pixels
// (alpha under half) masked; an odd width pads both kinds of rows.
TEST(IconFile, FewColoursRoundTripExactlyWithTheirMask) {
    artgen::Pixels pixels = Rgba(5, 3);
    for (int i = 0; i < 15; ++i) {
        pixels.bytes[i * 4] = static_cast<std::uint8_t>(i * 17);
        pixels.bytes[i * 4 + 1] = static_cast<std::uint8_t>(255 - i);
        pixels.bytes[i * 4 + 2] = 7;
        pixels.bytes[i * 4 + 3] = i % 4 == 0 ? 127 : 128;
    }
    const std::vector<std::uint8_t> ico = artgen::EncodeIco(pixels);
    ASSERT_EQ(ico.size(), 22U + 40 + 1024 + (8 + 4) * 3);
    EXPECT_EQ(Le32(ico, 14), ico.size() - 22);  // the image's size in the directory
    EXPECT_EQ(Le32(ico, 22 + 8), 6U);           // colours and mask: twice the height
    const Decoded back = Decode(ico, 5, 3);
    for (int i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back.transparent[i], i % 4 == 0);
        if (!back.transparent[i]) {
            EXPECT_EQ(back.colours[i][0], pixels.bytes[i * 4]);
            EXPECT_EQ(back.colours[i][1], pixels.bytes[i * 4 + 1]);
            EXPECT_EQ(back.colours[i][2], 7);
        }
    }
}

// The game's icon has more than 256 colours: each comes back as the nearest
// level of the colour cube, never further off than half a step.
TEST(IconFile, TheGamesIconFitsTheColourCube) {
    const artgen::Pixels icon = artgen::RoundToRgba(artgen::MakeIcon());
    const std::vector<std::uint8_t> ico = artgen::EncodeIco(icon);
    ASSERT_FALSE(ico.empty());
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[7], 32);
    const Decoded back = Decode(ico, 32, 32);
    int opaque = 0;
    for (size_t i = 0; i < 32 * 32; ++i) {
        if (icon.bytes[i * 4 + 3] < 128) {
            EXPECT_TRUE(back.transparent[i]);
            continue;
        }
        ++opaque;
        EXPECT_FALSE(back.transparent[i]);
        EXPECT_LE(std::abs(back.colours[i][0] - icon.bytes[i * 4]), 26);
        EXPECT_LE(std::abs(back.colours[i][1] - icon.bytes[i * 4 + 1]), 22);
        EXPECT_LE(std::abs(back.colours[i][2] - icon.bytes[i * 4 + 2]), 26);
    }
    EXPECT_GT(opaque, 32 * 32 / 4);
}

TEST(IconFile, NoFileForWhatAnIconCannotHold) {
    EXPECT_TRUE(artgen::EncodeIco(Rgba(257, 1)).empty());
    EXPECT_TRUE(artgen::EncodeIco(Rgba(0, 0)).empty());
    artgen::Pixels rgb = Rgba(2, 2);
    rgb.channels = 3;
    EXPECT_TRUE(artgen::EncodeIco(rgb).empty());
}

}  // namespace
}  // namespace korvane::test
