#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <string>

#include "korvane_icon.h"
#include "tests/assets/asset_readers.h"

namespace korvane::test {
namespace {

const std::string kArt = std::string(KORVANE_DATA_DIR) + "/Art/";

Picture Load(const std::string& name) {
    std::string error;
    Picture picture = ReadPicture(kArt + name, error);
    EXPECT_EQ(error, "");
    return picture;
}

// The darkest a rectangle must be for white and yellow digits to read on it.
int BrightestIn(const Picture& picture, int left, int top, int right, int bottom) {
    int brightest = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            brightest = std::max(brightest, picture.Brightest(static_cast<std::uint32_t>(x),
                                                              static_cast<std::uint32_t>(y)));
        }
    }
    return brightest;
}

TEST(PictureFiles, ScreensAre640By480WithAConsistentHeader) {
    for (const char* name : {"Loading.kvp", "Main.kvp", "Menu.kvp", "FileMenu.kvp"}) {
        SCOPED_TRACE(name);
        const Picture picture = Load(name);
        EXPECT_EQ(picture.width, 640U);
        EXPECT_EQ(picture.height, 480U);
    }
}

TEST(PictureFiles, BlocksAre24By24) {
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const Picture picture = Load("Block" + std::to_string(n) + ".kvp");
        EXPECT_EQ(picture.width, 24U);
        EXPECT_EQ(picture.height, 24U);
    }
}

// Every channel holds a level the 16-bit display keeps exactly (five bits,
// the low three repeating the top), so the files show what the game shows.
TEST(PictureFiles, EveryPixelIsAlreadyAFiveBitLevel) {
    for (const char* name :
         {"Loading.kvp", "Main.kvp", "Menu.kvp", "FileMenu.kvp", "Block1.kvp", "Block8.kvp"}) {
        SCOPED_TRACE(name);
        const Picture picture = Load(name);
        std::size_t off_level = 0;
        for (const std::uint8_t v : picture.bgr) {
            off_level += (v & 7) != (v >> 5) ? 1 : 0;
        }
        EXPECT_EQ(off_level, 0U);
    }
}

TEST(PictureFiles, PlayingScreenLeavesTheGamesPlacesDarkAndFree) {
    const Picture main = Load("Main.kvp");
    ASSERT_EQ(main.width, 640U);
    // The well, where the blocks go: dark everywhere, its faint grid included.
    EXPECT_LE(BrightestIn(main, 251, 0, 563, 480), 64);
    // The counters' rectangles and the preview area: darker still.
    EXPECT_LE(BrightestIn(main, 54, 161, 198, 194), 24);
    EXPECT_LE(BrightestIn(main, 102, 67, 152, 100), 24);
    EXPECT_LE(BrightestIn(main, 90, 256, 163, 289), 24);
    EXPECT_LE(BrightestIn(main, 88, 353, 160, 449), 24);
    // The frame around the well is lit steel, so it stands out from the inside.
    EXPECT_GE(BrightestIn(main, 240, 200, 251, 210), 120);
    EXPECT_GE(BrightestIn(main, 563, 200, 574, 210), 120);
}

TEST(PictureFiles, PlayingScreenLabelsStandAboveTheirCounters) {
    const Picture main = Load("Main.kvp");
    ASSERT_EQ(main.width, 640U);
    // Lettering is bright; a band just above each counter must hold some.
    EXPECT_GE(BrightestIn(main, 90, 36, 165, 53), 200);    // LEVEL
    EXPECT_GE(BrightestIn(main, 80, 130, 172, 147), 200);  // SCORE
    EXPECT_GE(BrightestIn(main, 85, 225, 168, 242), 200);  // LINES
    EXPECT_GE(BrightestIn(main, 90, 314, 160, 331), 200);  // NEXT
}

TEST(PictureFiles, BlocksDifferInColourAndInLightness) {
    std::array<std::array<double, 3>, 8> mean{};
    std::array<double, 8> lightness{};
    for (int n = 0; n < 8; ++n) {
        const Picture block = Load("Block" + std::to_string(n + 1) + ".kvp");
        ASSERT_EQ(block.bgr.size(), 24U * 24U * 3U);
        for (std::size_t i = 0; i < block.bgr.size(); ++i) {
            mean[static_cast<std::size_t>(n)][i % 3] += block.bgr[i] / 576.0;
        }
        const auto& m = mean[static_cast<std::size_t>(n)];
        lightness[static_cast<std::size_t>(n)] = 0.114 * m[0] + 0.587 * m[1] + 0.299 * m[2];
    }
    for (std::size_t a = 0; a < 8; ++a) {
        for (std::size_t b = a + 1; b < 8; ++b) {
            const double distance = std::sqrt(std::pow(mean[a][0] - mean[b][0], 2) +
                                              std::pow(mean[a][1] - mean[b][1], 2) +
                                              std::pow(mean[a][2] - mean[b][2], 2));
            EXPECT_GT(distance, 30.0) << "blocks " << a + 1 << " and " << b + 1;
        }
    }
    // Lightness alone spreads them widely, for players who see little colour.
    const auto [dim, bright] = std::minmax_element(lightness.begin(), lightness.end());
    EXPECT_GT(*bright - *dim, 64.0);
}

TEST(PictureFiles, BlocksCarryEachAMarkOfItsOwn) {
    // The centre 8x8 of each block, thresholded against its own mean, is a
    // pattern; no two blocks share one.
    std::set<std::string> patterns;
    for (int n = 1; n <= 8; ++n) {
        const Picture block = Load("Block" + std::to_string(n) + ".kvp");
        double sum = 0.0;
        for (std::uint32_t y = 6; y < 18; ++y) {
            for (std::uint32_t x = 6; x < 18; ++x) {
                sum += block.Brightest(x, y);
            }
        }
        const double mean = sum / 144.0;
        std::string pattern;
        for (std::uint32_t y = 6; y < 18; ++y) {
            for (std::uint32_t x = 6; x < 18; ++x) {
                pattern += block.Brightest(x, y) < mean - 20 ? '#' : '.';
            }
        }
        EXPECT_NE(pattern.find('#'), std::string::npos) << "block " << n << " has no mark";
        patterns.insert(pattern);
    }
    EXPECT_EQ(patterns.size(), 8U);
}

TEST(IconFiles, PngIs32By32WithAlpha) {
    const std::vector<std::uint8_t> png =
        ReadWholeFile(std::string(KORVANE_DATA_DIR) + "/korvane.png");
    ASSERT_GE(png.size(), 33U);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(png[19], 32);  // width, big-endian
    EXPECT_EQ(png[23], 32);  // height
    EXPECT_EQ(png[24], 8);   // bits per channel
    EXPECT_EQ(png[25], 6);   // red, green, blue, alpha
}

TEST(IconFiles, HeaderIconIsOpaqueInsideAndClearAtTheCorners) {
    static_assert(sizeof(kKorvaneIconRgba) == 32 * 32 * 4);
    const auto alpha = [](int x, int y) { return kKorvaneIconRgba[(y * 32 + x) * 4 + 3]; };
    EXPECT_EQ(alpha(0, 0), 0);
    EXPECT_EQ(alpha(31, 31), 0);
    EXPECT_EQ(alpha(16, 16), 255);
    EXPECT_EQ(alpha(8, 24), 255);
}

}  // namespace
}  // namespace korvane::test
