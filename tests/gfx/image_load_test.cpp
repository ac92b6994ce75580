// The picture loader: conversion to both 16-bit layouts, pixel placement, and
// the rejection of files it cannot trust.
#include <gtest/gtest.h>

#include "tests/gfx/gfx_fixture.h"

namespace korvane::testing {
namespace {

constexpr const char* kPath = "Art\\Test.kvp";

class ImageLoadTest : public LayoutTest {
  protected:
    // Loads `bytes` as kPath; the image stays in `image_`.
    int Load(std::vector<uint8_t> bytes, uint32_t depth = 16) {
        fake::AddFile(kPath, std::move(bytes));
        return ImageLoad(&image_, kPath, depth);
    }
    uint16_t Expect(uint16_t rgb565, uint16_t rgb555) const {
        return GetParam() == PixelLayout::Rgb555 ? rgb555 : rgb565;
    }
    Image image_;
};

TEST_P(ImageLoadTest, ConvertsChannelsToTheDisplayLayout) {
    struct Case {
        Bgr in;
        uint16_t rgb565;
        uint16_t rgb555;
    };
    const Case cases[] = {
        {{0xFF, 0x80, 0x00}, 0x041F, 0x021F},  // blue 255, green 128, red 0
        {{0xFF, 0xFF, 0xFF}, 0xFFDF, 0x7FFF},  // white: the 5-6-5 green leaves bit 5 clear
        {{0x07, 0x07, 0x07}, 0x0000, 0x0000},  // below 8 every channel is lost
        {{0x00, 0x00, 0x00}, 0x0000, 0x0000}, {{0x00, 0x00, 0xFF}, 0xF800, 0x7C00},  // pure red
        {{0x00, 0xFF, 0x00}, 0x07C0, 0x03E0},                                        // pure green
        {{0x08, 0x10, 0x18}, 0x1881, 0x0C41},  // the lowest kept bit of each channel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "blue " << int(c.in.blue) << " green "
                                          << int(c.in.green) << " red " << int(c.in.red));
        ASSERT_EQ(Load(KvpFile(1, 1, {c.in})), 1);
        EXPECT_EQ(image_.PixelAt(0, 0), Expect(c.rgb565, c.rgb555));
    }
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_P(ImageLoadTest, UnusedBytesAndTrailingBytesChangeNothing) {
    const std::vector<Bgr> pixels = {{1, 2, 3}, {200, 100, 50}, {9, 99, 199}, {255, 0, 128}};
    ASSERT_EQ(Load(KvpFile(2, 2, pixels)), 1);
    Image plain = std::move(image_);
    ASSERT_EQ(Load(KvpFile(2, 2, pixels, 0xBEEF, {0xDE, 0xAD, 0xBE, 0xEF, 0x01})), 1);
    for (uint32_t p = 0; p < 4; ++p) {
        EXPECT_EQ(image_.PixelAt(p % 2, p / 2), plain.PixelAt(p % 2, p / 2)) << "pixel " << p;
    }
}

TEST_P(ImageLoadTest, FilePixelsLandRowByRowTopFirst) {
    // Each pixel's red is its file position, so each lands where it can be told.
    std::vector<Bgr> pixels;
    for (uint8_t p = 0; p < 15; ++p) {
        pixels.push_back({0, 0, static_cast<uint8_t>(p * 8)});
    }
    ASSERT_EQ(Load(KvpFile(5, 3, pixels)), 1);
    EXPECT_EQ(image_.width, 5u);
    EXPECT_EQ(image_.height, 3u);
    for (uint32_t p = 0; p < 15; ++p) {
        EXPECT_EQ(image_.PixelAt(p % 5, p / 5), PackPixel(GetParam(), uint8_t(p * 8), 0, 0))
            << "file position " << p;
    }
}

TEST_P(ImageLoadTest, AnyDepthButSixteenIsRefusedWithTheImageUntouched) {
    ASSERT_EQ(Load(KvpFile(1, 1, {{10, 20, 30}})), 1);
    const uint8_t* before = image_.pixels.get();
    EXPECT_EQ(Load(KvpFile(2, 1, {{0, 0, 0}, {0, 0, 0}}), 24), 0);
    EXPECT_EQ(image_.pixels.get(), before);
    EXPECT_EQ(image_.width, 1u);
    // The read buffer was taken, and no pixel block was asked for.
    EXPECT_EQ(fake::StepCalls("alloc.image.file"), 2);
    EXPECT_EQ(fake::StepCalls("alloc.image"), 1);
    // The file was closed again.
    int closes = 0;
    for (const auto& line : fake::JournalLines()) {
        closes += line == "file.close" ? 1 : 0;
    }
    EXPECT_EQ(closes, 2);
}

TEST_P(ImageLoadTest, MalformedFilesFailWithoutMessageOrImage) {
    const std::vector<Bgr> four(4, Bgr{1, 2, 3});
    std::vector<uint8_t> cut = KvpFile(2, 2, four);
    cut.resize(cut.size() - 1);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"13 bytes", std::vector<uint8_t>(13, 0)},
        {"width 0", KvpFileWithSize(0, 2, {}, 0)},
        {"height 0", KvpFileWithSize(2, 0, {}, 0)},
        {"N not a multiple of 3", KvpFileWithSize(2, 2, four, 11)},
        {"N larger than the picture", KvpFileWithSize(1, 1, four, 12)},
        {"N smaller than the picture", KvpFileWithSize(2, 2, four, 9)},
        {"pixels past the end", cut},
        {"huge size", KvpFileWithSize(0x10000, 0x10000, four, 12)},
        {"size that wraps", KvpFileWithSize(0x55555556, 3, four, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image image;
        fake::AddFile(kPath, c.bytes);
        EXPECT_EQ(ImageLoad(&image, kPath, 16), 0);
        EXPECT_FALSE(image.Loaded());
    }
    EXPECT_EQ(fake::StepCalls("alloc.image"), 0);
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_P(ImageLoadTest, EachFailingFileStepFailsTheLoad) {
    for (const char* step : {"file.open", "file.size", "alloc.image.file", "file.read"}) {
        SCOPED_TRACE(step);
        fake::Reset();
        fake::FailStep(step);
        EXPECT_EQ(Load(KvpFile(1, 1, {{1, 1, 1}})), 0);
        EXPECT_FALSE(image_.Loaded());
    }
    Image none;
    EXPECT_EQ(ImageLoad(&none, "Art\\Missing.kvp", 16), 0);
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_P(ImageLoadTest, NoMemoryForThePixelsLeavesNoBlock) {
    fake::FailStep("alloc.image");
    EXPECT_EQ(Load(KvpFile(1, 1, {{1, 1, 1}})), 0);
    EXPECT_FALSE(image_.Loaded());
    EXPECT_EQ(image_.width, 0u);
}

TEST_P(ImageLoadTest, FreeEmptiesAndIsSafeTwice) {
    ASSERT_EQ(Load(KvpFile(1, 1, {{1, 1, 1}})), 1);
    ImageFree(&image_);
    EXPECT_FALSE(image_.Loaded());
    ImageFree(&image_);
    EXPECT_FALSE(image_.Loaded());
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, ImageLoadTest,
                         ::testing::Values(PixelLayout::Rgb565, PixelLayout::Rgb555),
                         [](const auto& info) { return LayoutName(info.param); });

}  // namespace
}  // namespace korvane::testing
