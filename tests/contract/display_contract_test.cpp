// The display's promises: surfaces of their size with whole rows a pitch
// apart, fills of the exact packed value, fast blits copied opaque or refused
// whole, a flip that exchanges the two buffers, and, where the screen can be
// taken away, surfaces lost until they are restored.
#include <cstring>
#include <vector>

#include "tests/contract/contract_fixture.h"

namespace korvane::contract {
namespace {

class DisplayTest : public DisplayContract {};

TEST_F(DisplayTest, SurfacesHaveTheirSizeWholeRowsAndOneOfTheTwoLayouts) {
    uint32_t width = 0;
    uint32_t height = 0;
    platform::SurfaceSize(back_, &width, &height);
    EXPECT_EQ(width, 640U);
    EXPECT_EQ(height, 480U);
    uint32_t redMask = 0;
    ASSERT_TRUE(platform::SurfaceRedMask(primary_, &redMask));
    EXPECT_TRUE(redMask == 0xF800 || redMask == 0x7C00) << redMask;

    EXPECT_EQ(platform::SurfaceCreateOffscreen(0, 0, 0), nullptr);
    platform::Surface* block = platform::SurfaceCreateOffscreen(24, 10, 0);
    ASSERT_NE(block, nullptr);
    platform::SurfaceSize(block, &width, &height);
    EXPECT_EQ(width, 24U);
    EXPECT_EQ(height, 10U);
    void* pixels = nullptr;
    int32_t pitch = 0;
    ASSERT_TRUE(platform::SurfaceLock(block, &pixels, &pitch));
    EXPECT_NE(pixels, nullptr);
    EXPECT_GE(pitch, 48);
    EXPECT_EQ(pitch % 2, 0);
    EXPECT_TRUE(platform::SurfaceUnlock(block));
    // The last pixel of the last row is there to be written.
    SetPixel(block, 23, 9, 0xABCD);
    EXPECT_EQ(Pixels(block).back(), 0xABCD);
    platform::SurfaceRelease(block);
}

TEST_F(DisplayTest, FillWritesThePackedValueIntoEveryPixelOfThatSurfaceOnly) {
    platform::Surface* block = platform::SurfaceCreateOffscreen(7, 5, 0);
    ASSERT_NE(block, nullptr);
    for (const uint16_t value : {0xF800, 0x7C00, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8421}) {
        ASSERT_EQ(platform::SurfaceFill(block, value), platform::BlitResult::Ok);
        EXPECT_EQ(Pixels(block), std::vector<uint16_t>(7 * 5, value)) << value;
    }
    ASSERT_EQ(platform::SurfaceFill(back_, 0x1234), platform::BlitResult::Ok);
    EXPECT_EQ(Pixels(back_), std::vector<uint16_t>(640 * 480, 0x1234));
    EXPECT_EQ(Pixels(block), std::vector<uint16_t>(7 * 5, 0x8421)) << "another surface";
    EXPECT_EQ(platform::SurfaceFill(nullptr, 1), platform::BlitResult::Failed);
    platform::SurfaceRelease(block);
}

TEST_F(DisplayTest, FastBlitCopiesTheRectangleOpaqueOrRefusesItWhole) {
    platform::Surface* source = platform::SurfaceCreateOffscreen(4, 3, 0);
    platform::Surface* target = platform::SurfaceCreateOffscreen(10, 8, 0);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(target, nullptr);
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 4; ++x) {
            SetPixel(source, x, y, static_cast<uint16_t>(0x100 * (y + 1) + x));
        }
    }
    ASSERT_EQ(platform::SurfaceFill(target, 0x5555), platform::BlitResult::Ok);
    ASSERT_EQ(platform::SurfaceBlitFast(target, 7, 6, source, {1, 1, 4, 3}),
              platform::BlitResult::Ok);
    std::vector<uint16_t> expected(10 * 8, 0x5555);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            expected[static_cast<size_t>((6 + y) * 10 + 7 + x)] =
                static_cast<uint16_t>(0x100 * (y + 2) + x + 1);
        }
    }
    EXPECT_EQ(Pixels(target), expected);

    // Nothing is clipped: a rectangle that reaches outside either surface,
    // or is empty, is refused and nothing changes.
    const struct {
        int32_t x, y;
        platform::Rect from;
    } refused[] = {{8, 0, {0, 0, 3, 1}},  {0, 6, {0, 0, 1, 3}}, {-1, 0, {0, 0, 1, 1}},
                   {0, -1, {0, 0, 1, 1}}, {0, 0, {0, 0, 5, 1}}, {0, 0, {-1, 0, 1, 1}},
                   {0, 0, {2, 0, 2, 1}},  {0, 0, {0, 2, 1, 1}}};
    for (const auto& r : refused) {
        EXPECT_EQ(platform::SurfaceBlitFast(target, r.x, r.y, source, r.from),
                  platform::BlitResult::Failed)
            << r.x << "," << r.y << " from " << r.from.left << "," << r.from.top << ","
            << r.from.right << "," << r.from.bottom;
    }
    EXPECT_EQ(platform::SurfaceBlitFast(target, 0, 0, nullptr, {0, 0, 1, 1}),
              platform::BlitResult::Failed);
    EXPECT_EQ(Pixels(target), expected);
    platform::SurfaceRelease(source);
    platform::SurfaceRelease(target);
}

TEST_F(DisplayTest, FlipExchangesTheVisibleSurfaceWithItsBackBuffer) {
    ASSERT_EQ(platform::SurfaceFill(primary_, 0x0F0F), platform::BlitResult::Ok);
    ASSERT_EQ(platform::SurfaceFill(back_, 0xF0F0), platform::BlitResult::Ok);
    SetPixel(back_, 639, 479, 0x1111);
    ASSERT_EQ(platform::SurfaceFlip(primary_), platform::BlitResult::Ok);
    const std::vector<uint16_t> front = Pixels(primary_);
    const std::vector<uint16_t> back = Pixels(back_);
    EXPECT_EQ(front.front(), 0xF0F0);
    EXPECT_EQ(front.back(), 0x1111);
    EXPECT_EQ(back, std::vector<uint16_t>(640 * 480, 0x0F0F));
    ASSERT_EQ(platform::SurfaceFlip(primary_), platform::BlitResult::Ok);
    EXPECT_EQ(Pixels(primary_), back) << "and back again";

    platform::Surface* block = platform::SurfaceCreateOffscreen(4, 4, 0);
    EXPECT_EQ(platform::SurfaceFlip(block), platform::BlitResult::Failed)
        << "only a surface with a back buffer flips";
    platform::SurfaceRelease(block);
}

TEST_F(DisplayTest, LostSurfacesAnswerLostUntilRestoredAndThenDraw) {
    platform::Surface* block = platform::SurfaceCreateOffscreen(24, 24, 0);
    ASSERT_NE(block, nullptr);
    std::vector<uint16_t> picture(size_t{24} * 24);
    {
        void* memory = nullptr;
        int32_t pitch = 0;
        ASSERT_TRUE(platform::SurfaceLock(block, &memory, &pitch));
        for (uint32_t y = 0; y < 24; ++y) {
            for (uint32_t x = 0; x < 24; ++x) {
                picture[y * 24 + x] = static_cast<uint16_t>(0x0421 * (x % 7) + 0x1000 * (y % 5));
                std::memcpy(static_cast<uint8_t*>(memory) + static_cast<size_t>(y) * pitch +
                                static_cast<size_t>(x) * 2,
                            &picture[y * 24 + x], 2);
            }
        }
        ASSERT_TRUE(platform::SurfaceUnlock(block));
    }
    const uint32_t restores = platform::DisplayRestoreCount();
    if (!TakeScreenAway()) {
        platform::SurfaceRelease(block);
        GTEST_SKIP() << "this backend's surfaces are the game's own memory and are never lost";
    }
    // Until the surfaces are restored (the count moves), every drawing call on
    // the flipping chain, or copying into it, finds it lost, however often it
    // is asked. Where the host refuses to restore while the screen is away
    // nothing draws until it is back; where it allows it, the first call
    // restores. (An off-screen surface the backend placed in memory of its
    // own may never be lost; either way it has its picture afterwards.)
    const auto stillLost = [restores] { return platform::DisplayRestoreCount() == restores; };
    for (int round = 0; round < 2; ++round) {
        void* memory = nullptr;
        int32_t pitch = 0;
        if (stillLost()) {
            EXPECT_FALSE(platform::SurfaceLock(back_, &memory, &pitch));
        }
        if (stillLost()) {
            EXPECT_EQ(platform::SurfaceFill(back_, 0), platform::BlitResult::SurfaceLost);
        }
        if (stillLost()) {
            EXPECT_EQ(platform::SurfaceBlitFast(back_, 0, 0, block, {0, 0, 24, 24}),
                      platform::BlitResult::SurfaceLost);
        }
        if (stillLost()) {
            EXPECT_EQ(platform::SurfaceBlitFast(primary_, 0, 0, back_, {0, 0, 8, 480}),
                      platform::BlitResult::SurfaceLost);
        }
        if (stillLost()) {
            EXPECT_EQ(platform::SurfaceFlip(primary_), platform::BlitResult::SurfaceLost);
        }
        if (stillLost()) {
            EXPECT_EQ(platform::SurfaceGetTextContext(back_), nullptr);
        }
    }

    GiveScreenBack();
    // The screen back, a call may still find the surfaces lost, once: it
    // restores them, and the next one draws.
    if (platform::SurfaceFill(back_, 0x0841) != platform::BlitResult::Ok) {
        EXPECT_EQ(platform::SurfaceFill(back_, 0x0841), platform::BlitResult::Ok)
            << "lost twice after the screen came back";
    }
    EXPECT_GT(platform::DisplayRestoreCount(), restores) << "the surfaces were restored";
    EXPECT_EQ(Pixels(block), picture);
    ASSERT_EQ(platform::SurfaceBlitFast(back_, 600, 440, block, {0, 0, 24, 24}),
              platform::BlitResult::Ok);
    std::vector<uint16_t> expected(size_t{640} * 480, 0x0841);
    for (uint32_t y = 0; y < 24; ++y) {
        for (uint32_t x = 0; x < 24; ++x) {
            expected[(440 + y) * 640 + 600 + x] = picture[y * 24 + x];
        }
    }
    ASSERT_EQ(platform::SurfaceFlip(primary_), platform::BlitResult::Ok);
    EXPECT_EQ(Pixels(primary_), expected);
    platform::TextContext* context = platform::SurfaceGetTextContext(back_);
    EXPECT_NE(context, nullptr);
    if (context != nullptr) {
        EXPECT_TRUE(platform::SurfaceReleaseTextContext(back_, context));
    }
    platform::SurfaceRelease(block);
}

}  // namespace
}  // namespace korvane::contract
