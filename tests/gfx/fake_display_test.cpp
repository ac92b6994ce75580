// The fake display's own promise that other tests lean on: saved pictures
// hold the surface's colours. What every backend promises is in tests/contract.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "tests/gfx/gfx_fixture.h"

namespace korvane::testing {
namespace {

class FakeDisplayTest : public LayoutTest {};

TEST_P(FakeDisplayTest, SavedPictureHoldsTheSurfaceColours) {
    VideoFill(videoDevice.backBuffer, 255, 0, 0);
    const auto folder = std::filesystem::temp_directory_path() /
                        ("korvane_fake_png_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const auto png = folder / "back.png";
    ASSERT_TRUE(fake::SavePng(fake::Buffer::Back, png.string()));
    std::ifstream in(png, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    in.close();  // Windows removes no file that is still open
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_EQ(bytes[2], 'N');
    EXPECT_EQ(bytes[3], 'G');
    if (std::system("command -v convert >/dev/null 2>&1") == 0) {
        const auto raw = folder / "back.rgb";
        ASSERT_EQ(std::system(("convert " + png.string() +
                               " -crop 1x1+639+479 -depth 8 rgb:" + raw.string())
                                  .c_str()),
                  0);
        std::ifstream pixel(raw, std::ios::binary);
        const std::vector<uint8_t> rgb{std::istreambuf_iterator<char>(pixel),
                                       std::istreambuf_iterator<char>()};
        pixel.close();
        EXPECT_EQ(rgb, (std::vector<uint8_t>{0xFF, 0, 0}));
    }
    EXPECT_FALSE(fake::SavePng(nullptr, (folder / "none.png").string()));
    EXPECT_FALSE(fake::SavePng(fake::Buffer::Visible, (folder / "missing" / "x.png").string()));
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, FakeDisplayTest,
                         ::testing::Values(PixelLayout::Rgb565, PixelLayout::Rgb555),
                         [](const auto& info) { return LayoutName(info.param); });

}  // namespace
}  // namespace korvane::testing
