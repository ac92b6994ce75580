// Copying a picture's rows into locked memory at a pitch.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/gfx/gfx_fixture.h"

namespace korvane::testing {
namespace {

constexpr uint16_t kUntouched = 0xAAAA;

// An image whose pixel at (x, y) is y * 256 + x + 1, loaded in 5-5-5 so the
// packing can be undone: red carries y, blue carries x.
Image NumberedImage(uint32_t width, uint32_t height) {
    std::vector<Bgr> pixels;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            pixels.push_back({static_cast<uint8_t>(x * 8), 0, static_cast<uint8_t>(y * 8)});
        }
    }
    fake::AddFile("Art\\Rows.kvp", KvpFile(width, height, pixels));
    Image image;
    EXPECT_EQ(ImageLoad(&image, "Art\\Rows.kvp", 16), 1);
    return image;
}

uint16_t Numbered(uint32_t x, uint32_t y) {
    return static_cast<uint16_t>(y << 10 | x);
}

class CopyRowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetVideo();
        videoDevice.layout = PixelLayout::Rgb555;
    }
    // A destination of `rows` rows of `pitch` bytes, every pixel kUntouched.
    void MakeDestination(int32_t pitch, uint32_t rows) {
        pitch_ = pitch;
        memory_.assign(static_cast<size_t>(pitch) * rows / 2, kUntouched);
    }
    uint16_t At(uint32_t x, uint32_t y) const { return memory_[y * pitch_ / 2 + x]; }
    std::vector<uint16_t> memory_;
    int32_t pitch_ = 0;
};

TEST_F(CopyRowsTest, RowsStartOnePitchApartAndTheGapIsLeftAlone) {
    const Image image = NumberedImage(24, 24);
    MakeDestination(64, 24);  // 48 bytes of row, 16 bytes of gap
    EXPECT_EQ(ImageCopyRows(memory_.data(), image, 64, 24, 24, 16), 1);
    for (uint32_t y = 0; y < 24; ++y) {
        for (uint32_t x = 0; x < 24; ++x) {
            ASSERT_EQ(At(x, y), Numbered(x, y)) << x << "," << y;
        }
        for (uint32_t x = 24; x < 32; ++x) {
            ASSERT_EQ(At(x, y), kUntouched) << "gap at " << x << "," << y;
        }
    }
}

TEST_F(CopyRowsTest, OddWidthDropsTheLastPixelOfEachRow) {
    const Image image = NumberedImage(3, 2);
    MakeDestination(8, 2);
    ImageCopyRows(memory_.data(), image, 8, 3, 2, 16);
    for (uint32_t y = 0; y < 2; ++y) {
        EXPECT_EQ(At(0, y), Numbered(0, y));
        EXPECT_EQ(At(1, y), Numbered(1, y));
        EXPECT_EQ(At(2, y), kUntouched) << "row " << y;
    }
}

TEST_F(CopyRowsTest, NeverReadsMoreRowsThanThePictureHolds) {
    const Image image = NumberedImage(4, 2);
    MakeDestination(8, 5);
    EXPECT_EQ(ImageCopyRows(memory_.data(), image, 8, 4, 5, 16), 1);
    EXPECT_EQ(At(3, 1), Numbered(3, 1));
    EXPECT_EQ(At(0, 2), kUntouched);
    const Image empty;
    EXPECT_EQ(ImageCopyRows(memory_.data(), empty, 8, 4, 5, 16), 1);
}

}  // namespace
}  // namespace korvane::testing
