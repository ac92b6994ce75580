// The counters: their texts, rectangles, colours and the per-frame font.
#include <gtest/gtest.h>

#include "game/scoring.h"
#include "tests/gfx/playfield_fixture.h"

namespace korvane::testing {
namespace {

class HudTest : public PlayfieldTest {};

constexpr uint32_t kCentred = 0x25;

TEST_P(HudTest, WritesTheThreeCountersInTheirBoxesAndColours) {
    scoreCounters = {42, 1, 7};
    EXPECT_EQ(DrawHud(), 1);
    const auto& draws = fake::TextDraws();
    ASSERT_EQ(draws.size(), 3u);
    struct Expected {
        const char* text;
        platform::Rect box;
        uint32_t color;
    };
    const Expected expected[] = {
        {"000042", {54, 161, 197, 193}, 0x00FFFFFF},
        {"01", {102, 67, 151, 99}, 0x0000FFFF},
        {"07", {90, 256, 162, 288}, 0x0000FFFF},
    };
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(draws[i].text, expected[i].text);
        EXPECT_EQ(draws[i].box.left, expected[i].box.left);
        EXPECT_EQ(draws[i].box.top, expected[i].box.top);
        EXPECT_EQ(draws[i].box.right, expected[i].box.right);
        EXPECT_EQ(draws[i].box.bottom, expected[i].box.bottom);
        EXPECT_EQ(draws[i].color, expected[i].color);
        EXPECT_EQ(draws[i].format, kCentred);
        EXPECT_EQ(draws[i].face, "Impact");
        EXPECT_EQ(draws[i].height, -32);
        EXPECT_EQ(draws[i].weight, 700);
    }
}

TEST_P(HudTest, LargestScoreKeepsSixDigits) {
    scoreCounters = {999999, 10, 19};
    DrawHud();
    ASSERT_EQ(fake::TextDraws().size(), 3u);
    EXPECT_EQ(fake::TextDraws()[0].text, "999999");
    EXPECT_EQ(fake::TextDraws()[1].text, "10");
    EXPECT_EQ(fake::TextDraws()[2].text, "19");
}

TEST_P(HudTest, DigitsAreDrawnInsideTheirBoxesOnly) {
    scoreCounters = {888888, 88, 88};
    DrawHud();
    const uint16_t white = GetParam() == PixelLayout::Rgb555 ? 0x7FFF : 0xFFFF;
    const uint16_t yellow = GetParam() == PixelLayout::Rgb555 ? 0x7FE0 : 0xFFE0;
    int whiteInside = 0;
    int yellowInside = 0;
    int outside = 0;
    auto inside = [](int x, int y, const platform::Rect& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    };
    const auto& draws = fake::TextDraws();
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint16_t pixel = fake::PixelAt(fake::Buffer::Back, x, y);
            if (pixel == 0) {
                continue;
            }
            if (pixel == white && inside(x, y, draws[0].box)) {
                ++whiteInside;
            } else if (pixel == yellow &&
                       (inside(x, y, draws[1].box) || inside(x, y, draws[2].box))) {
                ++yellowInside;
            } else {
                ++outside;
            }
        }
    }
    EXPECT_GT(whiteInside, 100);
    EXPECT_GT(yellowInside, 60);
    EXPECT_EQ(outside, 0);
}

TEST_P(HudTest, FontLivesOnlyForTheFrame) {
    DrawHud();
    DrawHud();
    EXPECT_EQ(fake::StepCalls("display.font"), 2);
    EXPECT_EQ(fake::FontsAlive(), 0);
    EXPECT_EQ(fake::TextContextsHeld(), 0);
}

TEST_P(HudTest, NoTextContextDrawsNothingAndStillSucceeds) {
    fake::FailStep("display.textcontext");
    EXPECT_EQ(DrawHud(), 1);
    EXPECT_TRUE(fake::TextDraws().empty());
    EXPECT_EQ(fake::StepCalls("display.font"), 0);
}

TEST_P(HudTest, FailedFontOrTextIsNotExamined) {
    fake::FailStep("display.font");
    fake::FailStep("display.text");
    EXPECT_EQ(DrawHud(), 1);
    EXPECT_EQ(fake::StepCalls("display.text"), 3);
    EXPECT_EQ(fake::TextContextsHeld(), 0);
}

TEST_P(HudTest, AFontGoneOutOfScopeSelectsThePreviousFontBack) {
    {
        const TextContextHandle context = VideoGetDC(videoDevice.backBuffer);
        ASSERT_TRUE(context);
        const SelectedFont outer(context.get(), -20, 400, "Outer");
        {
            const SelectedFont inner(context.get(), -32, 700, "Inner");
            TextDraw(context.get(), "1", 1, {0, 0, 40, 40}, kCentred, 0x00FFFFFF);
            EXPECT_EQ(fake::TextDraws().back().face, "Inner");
        }
        TextDraw(context.get(), "1", 1, {0, 0, 40, 40}, kCentred, 0x00FFFFFF);
        EXPECT_EQ(fake::TextDraws().back().face, "Outer");
        EXPECT_EQ(fake::FontsAlive(), 1);
    }
    EXPECT_EQ(fake::FontsAlive(), 0);
    EXPECT_EQ(fake::TextContextsHeld(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, HudTest,
                         ::testing::Values(PixelLayout::Rgb565, PixelLayout::Rgb555),
                         [](const auto& info) { return LayoutName(info.param); });

}  // namespace
}  // namespace korvane::testing
