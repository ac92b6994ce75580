// Where the 640x480 picture lands on the screens players have: a whole-number
// factor only where it leaves a thin border, otherwise the binding side filled.
#include "platform/common/picture_scale.h"

#include <gtest/gtest.h>

#include <array>

namespace korvane::platform {
namespace {

struct Screen {
    int32_t width;
    int32_t height;
    PicturePlacement expected;
};

TEST(PicturePlacementTest, CommonScreensAreFilledSharply) {
    const Screen screens[] = {
        // Exactly the picture, or an exact multiple: no smoothing at all.
        {640, 480, {0, 0, 640, 480, 1, false}},
        {1280, 960, {0, 0, 1280, 960, 2, false}},
        {2560, 1440, {320, 0, 1920, 1440, 3, false}},
        // 1920x1080 at twice the size leaves 120 of 1080 rows (11 %): kept.
        {1920, 1080, {320, 60, 1280, 960, 2, false}},
        {3840, 2160, {640, 120, 2560, 1920, 4, false}},
        // Once only would leave a small island; filled instead, through twice.
        {1280, 800, {106, 0, 1067, 800, 2, true}},
        {1366, 768, {171, 0, 1024, 768, 2, true}},
        {1440, 900, {120, 0, 1200, 900, 2, true}},
        {1536, 864, {192, 0, 1152, 864, 2, true}},
        {1024, 768, {0, 0, 1024, 768, 2, true}},
        // Twice would leave 240 of 1200 rows (20 %): filled through three times.
        {1600, 1200, {0, 0, 1600, 1200, 3, true}},
        // A tall screen: the width binds.
        {800, 1280, {0, 340, 800, 600, 2, true}},
        {1280, 2000, {0, 520, 1280, 960, 2, false}},
        // Smaller than the picture: smoothed down, never enlarged first.
        {320, 240, {0, 0, 320, 240, 1, true}},
        {500, 480, {0, 52, 500, 375, 1, true}},
    };
    for (const Screen& screen : screens) {
        const PicturePlacement at = PlacePicture(640, 480, screen.width, screen.height);
        SCOPED_TRACE(::testing::Message() << screen.width << "x" << screen.height);
        EXPECT_EQ(at.x, screen.expected.x);
        EXPECT_EQ(at.y, screen.expected.y);
        EXPECT_EQ(at.width, screen.expected.width);
        EXPECT_EQ(at.height, screen.expected.height);
        EXPECT_EQ(at.nearestFactor, screen.expected.nearestFactor);
        EXPECT_EQ(at.smooth, screen.expected.smooth);
    }
}

TEST(PicturePlacementTest, NothingToPlaceGivesAnEmptyPlacement) {
    for (const auto& [pw, ph, sw, sh] :
         {std::array<int32_t, 4>{0, 480, 640, 480}, {640, 480, 0, 0}, {640, -1, 800, 600}}) {
        const PicturePlacement at = PlacePicture(pw, ph, sw, sh);
        EXPECT_EQ(at.width, 0);
        EXPECT_EQ(at.height, 0);
    }
}

}  // namespace
}  // namespace korvane::platform
