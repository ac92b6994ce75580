#include <gtest/gtest.h>

#include "tools/artgen/encode.h"

namespace korvane::test {
namespace {

using artgen::Canvas;
using artgen::Rgb;

TEST(PictureEncoding, KvpHeaderAndBlueGreenRedOrder) {
    Canvas canvas(2, 1, Rgb{1.0, 0.0, 0.0});
    canvas.Set(1, 0, Rgb{0.0, 0.0, 1.0});
    const std::vector<std::uint8_t> file = artgen::EncodeKvp(artgen::QuantiseForDisplay(canvas));
    ASSERT_EQ(file.size(), 14U + 6U);
    EXPECT_EQ(file[0], 2);   // width
    EXPECT_EQ(file[4], 1);   // height
    EXPECT_EQ(file[10], 6);  // pixel bytes
    // Red pixel, then blue pixel, each as blue, green, red.
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 14, file.end()),
              (std::vector<std::uint8_t>{0, 0, 255, 255, 0, 0}));
}

TEST(PictureEncoding, DitherKeepsAFlatLevelFlatAndAveragesBetweenLevels) {
    // Exactly level 10 of 31 everywhere: no dither pattern at all.
    Canvas flat(8, 8, Rgb{10.0 / 31.0, 10.0 / 31.0, 10.0 / 31.0});
    for (const std::uint8_t v : artgen::QuantiseForDisplay(flat).bytes) {
        EXPECT_EQ(v, (10 << 3) | (10 >> 2));
    }
    // Halfway between levels 10 and 11: half the pixels each way.
    Canvas between(8, 8, Rgb{10.5 / 31.0, 10.5 / 31.0, 10.5 / 31.0});
    int high = 0;
    for (const std::uint8_t v : artgen::QuantiseForDisplay(between).bytes) {
        ASSERT_TRUE(v >> 3 == 10 || v >> 3 == 11);
        high += v >> 3 == 11 ? 1 : 0;
    }
    EXPECT_EQ(high, 3 * 32);
}

TEST(PictureEncoding, PngIsStoredWithValidChecksums) {
    Canvas canvas(3, 2, Rgb{0.5, 0.25, 1.0});
    const std::vector<std::uint8_t> png = artgen::EncodePng(artgen::RoundToRgba(canvas));
    ASSERT_GT(png.size(), 8U + 25U);
    // IHDR: length 13, then its CRC over type and data.
    std::uint32_t crc = 0xFFFFFFFFU;
    for (std::size_t i = 12; i < 12 + 4 + 13; ++i) {
        crc ^= png[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1U) != 0U ? 0xEDB88320U ^ (crc >> 1) : crc >> 1;
        }
    }
    crc ^= 0xFFFFFFFFU;
    const std::uint32_t stored = static_cast<std::uint32_t>(png[29]) << 24 |
                                 static_cast<std::uint32_t>(png[30]) << 16 |
                                 static_cast<std::uint32_t>(png[31]) << 8 | png[32];
    EXPECT_EQ(crc, stored);
    EXPECT_EQ(png[25], 6);  // RGBA
}

}  // namespace
}  // namespace korvane::test
