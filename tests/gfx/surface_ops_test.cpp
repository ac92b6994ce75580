// Locking, filling, flipping and copying pictures into surfaces.
#include <gtest/gtest.h>

#include "tests/gfx/gfx_fixture.h"

namespace korvane::testing {
namespace {

class SurfaceOpsTest : public LayoutTest {};

TEST_P(SurfaceOpsTest, FillPacksLikeTheLoader) {
    struct Case {
        uint8_t red, green, blue;
        uint16_t rgb565, rgb555;
    };
    const Case cases[] = {
        {255, 255, 255, 0xFFDF, 0x7FFF},
        {0, 0, 0, 0x0000, 0x0000},
        {0, 128, 255, 0x041F, 0x021F},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VideoFill(videoDevice.backBuffer, c.red, c.green, c.blue), 1);
        const uint16_t expected = GetParam() == PixelLayout::Rgb555 ? c.rgb555 : c.rgb565;
        EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 0, 0), expected);
        EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 639, 479), expected);
        EXPECT_EQ(fake::PixelAt(fake::Buffer::Visible, 0, 0), 0) << "the screen is not touched";
        // A loaded pixel of the same colour is equal to the filled one.
        fake::AddFile("Art\\One.kvp", KvpFile(1, 1, {{c.blue, c.green, c.red}}));
        Image image;
        ASSERT_EQ(ImageLoad(&image, "Art\\One.kvp", 16), 1);
        EXPECT_EQ(image.PixelAt(0, 0), expected);
    }
}

TEST_P(SurfaceOpsTest, FillAtOtherDepthsPacksWholeBytesOrNothing) {
    videoDevice.depth = 24;
    VideoFill(videoDevice.backBuffer, 0x12, 0x34, 0x56);
    EXPECT_EQ(fake::LastFillColor(), 0x123456u);
    videoDevice.depth = 8;
    VideoFill(videoDevice.backBuffer, 0xFF, 0xFF, 0xFF);
    EXPECT_EQ(fake::LastFillColor(), 0u);
    fake::FailStep("display.fill");
    EXPECT_EQ(VideoFill(videoDevice.backBuffer, 1, 2, 3), 1)
        << "the fill's answer is not looked at";
}

TEST_P(SurfaceOpsTest, LockAndUnlockWithoutSurfaceDoNotReachThePlatform) {
    int32_t pitch = -1;
    EXPECT_EQ(VideoLock(nullptr, &pitch), nullptr);
    EXPECT_EQ(pitch, -1);
    EXPECT_EQ(VideoUnlock(nullptr), 0);
    EXPECT_EQ(fake::StepCalls("display.lock"), 0);
    EXPECT_EQ(fake::StepCalls("display.unlock"), 0);
}

TEST_P(SurfaceOpsTest, LockAnswersThePixelsWithOrWithoutPitch) {
    int32_t pitch = 0;
    void* withPitch = VideoLock(videoDevice.backBuffer, &pitch);
    ASSERT_NE(withPitch, nullptr);
    EXPECT_EQ(pitch, 1280);
    VideoUnlock(videoDevice.backBuffer);
    EXPECT_EQ(VideoLock(videoDevice.backBuffer, nullptr), withPitch);
    fake::FailStep("display.unlock");
    EXPECT_EQ(VideoUnlock(videoDevice.backBuffer), 1) << "the unlock's answer is not looked at";
    fake::FailStep("display.lock");
    EXPECT_EQ(VideoLock(videoDevice.backBuffer, &pitch), nullptr);
}

TEST_P(SurfaceOpsTest, CopyImageHonoursAWiderPitchAndUnlocks) {
    VideoShutdown();
    fake::SetPitchPadding(16);
    ASSERT_EQ(VideoInit(640, 480, 16), 1);
    const platform::SurfaceHandle handle = VideoCreateOffscreen(24, 24, 0);
    platform::Surface* block = handle.get();
    ASSERT_NE(block, nullptr);
    std::vector<Bgr> pixels(24 * 24, Bgr{0, 0, 0});
    pixels[0] = {255, 0, 0};
    pixels[24 * 23 + 23] = {0, 0, 255};
    fake::AddFile("Art\\Block.kvp", KvpFile(24, 24, pixels));
    Image image;
    ASSERT_EQ(ImageLoad(&image, "Art\\Block.kvp", 16), 1);
    EXPECT_EQ(VideoCopyImage(block, image, 24, 24, 16), 1);
    EXPECT_EQ(fake::PixelAt(block, 0, 0), PackPixel(GetParam(), 0, 0, 255));
    EXPECT_EQ(fake::PixelAt(block, 23, 23), PackPixel(GetParam(), 255, 0, 0));
    EXPECT_EQ(fake::PixelAt(block, 1, 0), 0);
    EXPECT_EQ(fake::StepCalls("display.lock"), fake::StepCalls("display.unlock"));
    // A picture larger than the surface is cut at its edges, each row taken
    // from where it starts in the picture: a white column stays upright.
    std::vector<Bgr> big(64 * 64, Bgr{0, 0, 0});
    for (int row = 0; row < 64; ++row) {
        big[row * 64 + 23] = {255, 255, 255};
    }
    fake::AddFile("Art\\Big.kvp", KvpFile(64, 64, big));
    ASSERT_EQ(ImageLoad(&image, "Art\\Big.kvp", 16), 1);
    EXPECT_EQ(VideoCopyImage(block, image, 64, 64, 16), 1);
    for (int row = 0; row < 24; ++row) {
        EXPECT_EQ(fake::PixelAt(block, 23, row), PackPixel(GetParam(), 255, 255, 255)) << row;
        EXPECT_EQ(fake::PixelAt(block, 22, row), 0) << row;
    }
}

TEST_P(SurfaceOpsTest, CopyImageFailsWhenTheSurfaceWillNotLock) {
    Image image;
    fake::AddFile("Art\\One.kvp", KvpFile(2, 1, {{1, 1, 1}, {2, 2, 2}}));
    ASSERT_EQ(ImageLoad(&image, "Art\\One.kvp", 16), 1);
    EXPECT_EQ(VideoCopyImage(nullptr, image, 2, 1, 16), 0);
    fake::FailStep("display.lock");
    EXPECT_EQ(VideoCopyImage(videoDevice.backBuffer, image, 2, 1, 16), 0);
}

TEST_P(SurfaceOpsTest, RefusedFlipIsAskedAgain) {
    fake::FailStep("display.flip", 1, 1);
    EXPECT_EQ(VideoFlip(), 1);
    EXPECT_EQ(fake::StepCalls("display.flip"), 2);
    EXPECT_EQ(fake::Flips(), 1);
}

TEST_P(SurfaceOpsTest, FlipGivesUpOnLostSurfacesAndOnEndlessRefusal) {
    fake::FailStep("display.flip", fake::kSurfaceLost);
    EXPECT_EQ(VideoFlip(), 0);
    EXPECT_EQ(fake::StepCalls("display.flip"), 1);
    fake::FailStep("display.flip", 1);
    EXPECT_EQ(VideoFlip(), 0);
    EXPECT_GT(fake::StepCalls("display.flip"), 2);
    EXPECT_EQ(fake::Flips(), 0);
}

TEST_P(SurfaceOpsTest, OffscreenSurfacesAndTextContexts) {
    const int before = fake::SurfacesAlive();
    fake::FailStep("display.offscreen", 1, 1);
    EXPECT_FALSE(VideoCreateOffscreen(24, 24, 0));
    {
        const platform::SurfaceHandle surface = VideoCreateOffscreen(24, 24, 0);
        ASSERT_TRUE(surface);
        EXPECT_EQ(fake::SurfacesAlive(), before + 1);
        TextContextHandle context = VideoGetDC(surface.get());
        ASSERT_TRUE(context);
        platform::TextContext* held = context.release();
        EXPECT_EQ(VideoReleaseDC(surface.get(), held), 1);
        EXPECT_EQ(VideoReleaseDC(surface.get(), held), 0) << "released twice";
        { const TextContextHandle scoped = VideoGetDC(surface.get()); }
        EXPECT_EQ(fake::TextContextsHeld(), 0) << "given back when out of scope";
        fake::FailStep("display.textcontext");
        EXPECT_FALSE(VideoGetDC(surface.get()));
    }
    EXPECT_EQ(fake::SurfacesAlive(), before) << "released when out of scope";
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, SurfaceOpsTest,
                         ::testing::Values(PixelLayout::Rgb565, PixelLayout::Rgb555),
                         [](const auto& info) { return LayoutName(info.param); });

}  // namespace
}  // namespace korvane::testing
