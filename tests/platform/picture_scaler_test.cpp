// The picture drawn onto screens of the sizes players have: a changed part
// redrawn alone leaves the screen exactly as drawing the whole picture again
// would, nothing is drawn outside the picture's place, and an edge between two
// colours is blended over one screen pixel at most.
#include "platform/common/picture_scaler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace korvane::platform {
namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kPitch = kWidth * 2;
constexpr uint32_t kUntouched = 0xDEADBEEF;

struct Screen {
    int32_t width;
    int32_t height;
    std::vector<uint32_t> pixels;
    Screen(int32_t w, int32_t h)
        : width(w), height(h), pixels(static_cast<size_t>(w) * h, kUntouched) {}
    ScreenPixels Target() {
        ScreenPixels target;
        target.pixels = reinterpret_cast<uint8_t*>(pixels.data());
        target.pitch = width * 4;
        target.alphaMask = 0xFF000000;
        return target;
    }
    uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

const uint8_t* Bytes(const std::vector<uint16_t>& picture) {
    return reinterpret_cast<const uint8_t*>(picture.data());
}

TEST(PictureScalerTest, ARedrawnPartLeavesTheScreenAsAWholeRedrawWould) {
    const std::pair<int32_t, int32_t> sizes[] = {{1366, 768},  {1280, 800}, {1600, 1200},
                                                 {1920, 1080}, {800, 1280}, {500, 480}};
    std::mt19937 random(7);
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        std::vector<uint16_t> picture(static_cast<size_t>(kWidth) * kHeight);
        for (uint16_t& pixel : picture) {
            pixel = static_cast<uint16_t>(random());
        }
        PictureScaler scaler;
        scaler.Prepare(kWidth, kHeight, width, height);
        Screen kept(width, height);
        const PixelBox drawn =
            scaler.Draw(Bytes(picture), kPitch, {0, 0, kWidth, kHeight}, kept.Target());
        const PicturePlacement& at = scaler.Placement();
        EXPECT_EQ(drawn.left, at.x);
        EXPECT_EQ(drawn.top, at.y);
        EXPECT_EQ(drawn.right, at.x + at.width);
        EXPECT_EQ(drawn.bottom, at.y + at.height);

        // Parts of every shape, at the edges and one pixel wide too.
        const PixelBox parts[] = {{0, 0, 1, 1},       {639, 479, 640, 480}, {100, 37, 101, 300},
                                  {5, 200, 600, 201}, {231, 95, 333, 171},  {-20, -20, 30, 30}};
        for (const PixelBox& part : parts) {
            for (int32_t y = std::max(part.top, 0); y < std::min(part.bottom, kHeight); ++y) {
                for (int32_t x = std::max(part.left, 0); x < std::min(part.right, kWidth); ++x) {
                    picture[static_cast<size_t>(y) * kWidth + x] = static_cast<uint16_t>(random());
                }
            }
            scaler.Draw(Bytes(picture), kPitch, part, kept.Target());
        }
        Screen fresh(width, height);
        scaler.Draw(Bytes(picture), kPitch, {0, 0, kWidth, kHeight}, fresh.Target());
        EXPECT_EQ(kept.pixels, fresh.pixels);
        // Outside the picture's place nothing was written.
        size_t outside = 0;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                const bool inPlace =
                    x >= at.x && x < at.x + at.width && y >= at.y && y < at.y + at.height;
                outside += !inPlace && fresh.At(x, y) != kUntouched ? 1 : 0;
                ASSERT_TRUE(!inPlace || fresh.At(x, y) != kUntouched) << x << "," << y;
            }
        }
        EXPECT_EQ(outside, 0U);
    }
}

TEST(PictureScalerTest, AnEdgeIsBlendedOverOneScreenPixelAtMost) {
    // White left of column 321 and above row 241, black elsewhere; each
    // screen row crosses the upright edge once and each column the level one.
    std::vector<uint16_t> picture(static_cast<size_t>(kWidth) * kHeight, 0);
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            if (x < 321 && y < 241) {
                picture[static_cast<size_t>(y) * kWidth + x] = 0xFFFF;
            }
        }
    }
    for (const auto& [width, height] : {std::pair{1366, 768}, {1280, 800}, {1536, 864}}) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        PictureScaler scaler;
        scaler.Prepare(kWidth, kHeight, width, height);
        ASSERT_TRUE(scaler.Placement().smooth);
        Screen screen(width, height);
        scaler.Draw(Bytes(picture), kPitch, {0, 0, kWidth, kHeight}, screen.Target());
        const PicturePlacement& at = scaler.Placement();
        const auto grey = [](uint32_t pixel) {
            return (pixel & 0xFFFFFF) != 0 && (pixel & 0xFFFFFF) != 0xFFFFFF;
        };
        // A row and a column well inside the white and the black.
        int32_t greyAcross = 0;
        int32_t greyDown = 0;
        for (int32_t x = at.x; x < at.x + at.width; ++x) {
            greyAcross += grey(screen.At(x, at.y + at.height / 4)) ? 1 : 0;
        }
        for (int32_t y = at.y; y < at.y + at.height; ++y) {
            greyDown += grey(screen.At(at.x + at.width / 4, y)) ? 1 : 0;
        }
        EXPECT_LE(greyAcross, 1);
        EXPECT_LE(greyDown, 1);
        // The white reaches the edge's place on the screen, give or take a pixel.
        const int32_t edge = at.x + 321 * at.width / kWidth;
        EXPECT_EQ(screen.At(edge - 2, at.y) & 0xFFFFFF, 0xFFFFFFU);
        EXPECT_EQ(screen.At(edge + 1, at.y) & 0xFFFFFF, 0U);
    }
}

}  // namespace
}  // namespace korvane::platform
