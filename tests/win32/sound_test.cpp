// A sound buffer whose memory went with the device is restored and filled
// again from the samples the backend kept, before it plays.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/sound_device.h"
#include "platform/win32/win32_test_hooks.h"
#include "tests/win32/game_window.h"

namespace korvane::platform::testing {
namespace {

std::vector<uint8_t> Contents(SoundBufferData& buffer, uint32_t bytes) {
    SoundRegions regions;
    std::vector<uint8_t> contents;
    if (!SoundBufferLock(buffer, 0, bytes, false, &regions)) {
        return contents;
    }
    contents.assign(regions.first, regions.first + regions.firstBytes);
    SoundBufferUnlock(buffer, regions);
    return contents;
}

TEST(SoundTest, ALostBufferIsRestoredAndFilledAgainBeforeItPlays) {
    GameWindow();
    ASSERT_TRUE(SoundDeviceOpen());
    ASSERT_TRUE(SoundDeviceAttachToWindow());
    constexpr uint32_t kBytes = 8000;
    SoundBufferDescription description;
    description.flags = kBufferStatic | kBufferVolumeControl;
    description.bytes = kBytes;
    description.format = {kFormatPcm, 1, 11025, 22050, 2, 16, 0};
    SoundBuffer buffer = SoundBufferCreate(description, 0);
    ASSERT_TRUE(buffer);
    std::vector<uint8_t> samples(kBytes);
    for (uint32_t i = 0; i < kBytes; ++i) {
        samples[i] = static_cast<uint8_t>(i * 7 + i / 256);
    }
    // Filled as the game fills a buffer: from the write position, which for
    // a buffer that never played is its start.
    SoundRegions regions;
    ASSERT_TRUE(SoundBufferLock(*buffer, 0, kBytes, true, &regions));
    std::memcpy(regions.first, samples.data(), regions.firstBytes);
    ASSERT_TRUE(SoundBufferUnlock(*buffer, regions));

    win32::LoseSoundBufferForTest(*buffer);
    // The game's own order: rewind, then play.
    EXPECT_TRUE(SoundBufferSetPosition(*buffer, 0));
    EXPECT_TRUE(SoundBufferPlay(*buffer, 0));
    EXPECT_TRUE(SoundBufferStop(*buffer));
    EXPECT_EQ(Contents(*buffer, kBytes), samples);

    win32::LoseSoundBufferForTest(*buffer);
    EXPECT_TRUE(SoundBufferPlay(*buffer, kPlayLoopingFlag)) << "played without a rewind first";
    uint32_t status = 0;
    EXPECT_TRUE(SoundBufferStatus(*buffer, &status));
    EXPECT_NE(status & kStatusPlayingBit, 0U);
    EXPECT_TRUE(SoundBufferStop(*buffer));
    EXPECT_EQ(Contents(*buffer, kBytes), samples);
    buffer.reset();
    SoundDeviceClose();
}

}  // namespace
}  // namespace korvane::platform::testing
