// The wipe: strips from the back buffer onto the screen, their sizes, order
// and pacing, and a failure part of the way.
#include <gtest/gtest.h>

#include "gfx/wipe.h"
#include "tests/gfx/gfx_fixture.h"
#include "timing/clock.h"

namespace korvane::testing {
namespace {

class WipeTest : public VideoTest {
  protected:
    void SetUp() override {
        VideoTest::SetUp();
        ASSERT_EQ(VideoInit(640, 480, 16), 1);
        VideoFill(videoDevice.backBuffer, 255, 255, 255);
        white_ = fake::PixelAt(fake::Buffer::Back, 0, 0);
        fake::ClearDisplayRecords();
    }
    // The strips copied onto the screen, as their source rectangles.
    static std::vector<platform::Rect> Strips() {
        std::vector<platform::Rect> strips;
        for (const auto& blit : fake::Blits()) {
            EXPECT_EQ(blit.destination, videoDevice.primary.get());
            EXPECT_EQ(blit.source, videoDevice.backBuffer);
            EXPECT_EQ(blit.x, blit.from.left) << "a strip lands where it lies";
            EXPECT_EQ(blit.y, blit.from.top);
            strips.push_back(blit.from);
        }
        return strips;
    }
    // Makes the next NowMs reading even or odd.
    static void NextReadingParity(uint32_t parity) {
        fake::SetReadStepNs(1'000'000);
        while ((NowMs() + 1) % 2 != parity) {
        }
    }
    uint16_t white_ = 0;
};

void ExpectRect(const platform::Rect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST_F(WipeTest, ColumnSweepTakesTheRemainderFirst) {
    const uint64_t before = fake::VirtualTimeNs();
    EXPECT_EQ(WipeStrips(6, kWipeColumns), 1);
    const auto strips = Strips();
    ASSERT_EQ(strips.size(), 107u);
    ExpectRect(strips[0], 0, 0, 4, 480);
    ExpectRect(strips[1], 4, 0, 10, 480);
    ExpectRect(strips[106], 634, 0, 640, 480);
    for (size_t i = 1; i < strips.size(); ++i) {
        ASSERT_EQ(strips[i].left, strips[i - 1].right) << "strip " << i;
        ASSERT_EQ(strips[i].right - strips[i].left, 6) << "strip " << i;
    }
    EXPECT_GT(fake::VirtualTimeNs() - before, 106 * 30'000'000ULL);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Visible, 639, 479), white_);
    EXPECT_EQ(fake::Flips(), 0);
}

TEST_F(WipeTest, RowSweepUsesFullStepsWhenTheHeightDivides) {
    const uint64_t before = fake::VirtualTimeNs();
    EXPECT_EQ(WipeStrips(4, kWipeRows), 1);
    const auto strips = Strips();
    ASSERT_EQ(strips.size(), 120u);
    ExpectRect(strips[0], 0, 0, 640, 4);
    ExpectRect(strips[1], 0, 4, 640, 8);
    ExpectRect(strips[119], 0, 476, 640, 480);
    EXPECT_GT(fake::VirtualTimeNs() - before, 119 * 30'000'000ULL);
    const auto& blits = fake::Blits();
    for (size_t i = 1; i < blits.size(); ++i) {
        ASSERT_GT(blits[i].atNs - blits[i - 1].atNs, 30'000'000u) << "strip " << i;
    }
    // No wait follows the last strip.
    EXPECT_LT(fake::VirtualTimeNs() - blits.back().atNs, 1'000'000u);
}

TEST_F(WipeTest, ClockParityPicksTheDirection) {
    NextReadingParity(0);
    EXPECT_EQ(WipeTransition(), 1);
    EXPECT_EQ(fake::StripCopies(), 107);
    fake::ClearDisplayRecords();
    NextReadingParity(1);
    EXPECT_EQ(WipeTransition(), 1);
    EXPECT_EQ(fake::StripCopies(), 120);
}

TEST_F(WipeTest, ScreenWidthWithoutRemainderStartsWithAFullStep) {
    VideoShutdown();
    ResetVideo();
    ASSERT_EQ(VideoInit(600, 480, 16), 1);
    fake::ClearDisplayRecords();
    EXPECT_EQ(WipeStrips(6, kWipeColumns), 1);
    const auto strips = Strips();
    ASSERT_EQ(strips.size(), 100u);
    ExpectRect(strips[0], 0, 0, 6, 480);
    ExpectRect(strips[99], 594, 0, 600, 480);
}

TEST_F(WipeTest, UnknownDirectionCopiesNothing) {
    EXPECT_EQ(WipeStrips(6, 2), 0);
    EXPECT_TRUE(fake::Blits().empty());
}

TEST_F(WipeTest, FailedStripStopsWithTheEarlierStripsShown) {
    fake::FailStep("display.blit", 1, 5);
    EXPECT_EQ(WipeStrips(6, kWipeColumns), 0);
    EXPECT_EQ(fake::StripCopies(), 4);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Visible, 21, 100), white_) << "fourth strip: 16-21";
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Visible, 22, 100), 0);
    fake::ClearDisplayRecords();
    fake::FailStep("display.blit", 1);
    EXPECT_EQ(WipeTransition(), 0);
    EXPECT_EQ(fake::StripCopies(), 0);
}

}  // namespace
}  // namespace korvane::testing
