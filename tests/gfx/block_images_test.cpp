// Loading the eight block pictures into their surfaces, and releasing them.
#include <gtest/gtest.h>

#include "tests/gfx/playfield_fixture.h"
#include "timing/clock.h"

namespace korvane::testing {
namespace {

class BlockImagesTest : public LayoutTest {
  protected:
    void TearDown() override {
        BlockImagesRelease();
        LayoutTest::TearDown();
    }
    static int Made() {
        int made = 0;
        for (const platform::SurfaceHandle& surface : BlockSurfaces) {
            made += surface ? 1 : 0;
        }
        return made;
    }
};

TEST_P(BlockImagesTest, FillsEachSurfaceWithItsPictureAndPausesAfterEach) {
    AddBlockPictures();
    const uint64_t before = fake::VirtualTimeNs();
    EXPECT_EQ(BlockImagesLoad(), 1);
    EXPECT_GT(fake::VirtualTimeNs() - before, 8 * 500'000'000ULL);
    for (int k = 1; k <= kBlockPictures; ++k) {
        const Bgr c = BlockColor(k);
        EXPECT_EQ(fake::PixelAt(BlockSurfaces[k - 1].get(), 0, 0),
                  PackPixel(GetParam(), c.red, c.green, c.blue))
            << "block " << k;
        EXPECT_EQ(fake::PixelAt(BlockSurfaces[k - 1].get(), 23, 23),
                  PackPixel(GetParam(), c.red, c.green, c.blue))
            << "block " << k;
    }
    EXPECT_EQ(BlockImagesRelease(), 1);
    EXPECT_EQ(Made(), 0);
    EXPECT_EQ(fake::SurfacesAlive(), 1) << "only the primary surface is left";
}

TEST_P(BlockImagesTest, StopsAtTheFirstFailureKeepingWhatWasMade) {
    struct Case {
        const char* step;
        int onCall;
        int made;
    };
    const Case cases[] = {
        {"display.offscreen", 3, 2},
        {"file.open", 4, 4},  // Block4.kvp cannot be opened
        {"display.lock", 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        BlockImagesRelease();
        VideoShutdown();
        ResetVideo();
        fake::SetDisplayLayout(ToFake(GetParam()));
        ASSERT_EQ(VideoInit(640, 480, 16), 1);
        AddBlockPictures();
        fake::FailStep(c.step, 1, c.onCall);
        EXPECT_EQ(BlockImagesLoad(), 0);
        EXPECT_EQ(Made(), c.made);
        EXPECT_EQ(fake::SurfacesAlive(), 1 + c.made);
        EXPECT_TRUE(fake::MessageBoxes().empty());
    }
}

TEST_P(BlockImagesTest, MissingPictureFailsSilently) {
    AddBlockPictures();
    fake::RemoveFile("Art\\Block8.kvp");
    EXPECT_EQ(BlockImagesLoad(), 0);
    EXPECT_EQ(Made(), 8);
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, BlockImagesTest,
                         ::testing::Values(PixelLayout::Rgb565, PixelLayout::Rgb555),
                         [](const auto& info) { return LayoutName(info.param); });

}  // namespace
}  // namespace korvane::testing
