// The sound slots' promises, as far as the seam lets them be seen: buffers
// made only for the formats described as supported, locks that wrap round,
// sounds played once that end by themselves, loops that play until stopped,
// the status word, and volume, rate and pan taken in their ranges only.
#include <cstdint>
#include <cstring>

#include "tests/contract/contract_fixture.h"

namespace korvane::contract {
namespace {

constexpr uint32_t kControls = platform::kBufferStatic | platform::kBufferVolumeControl |
                               platform::kBufferFrequencyControl | platform::kBufferPanControl;

// 8-bit mono at 8000 Hz: `bytes` bytes last bytes / 8 milliseconds.
platform::SoundBufferDescription Mono8(uint32_t bytes, uint32_t flags) {
    platform::SoundBufferDescription description;
    description.flags = flags;
    description.bytes = bytes;
    description.format = {platform::kFormatPcm, 1, 8000, 8000, 1, 8, 0};
    return description;
}

class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MakeGameWindow();
        ASSERT_TRUE(platform::SoundDeviceOpen());
        ASSERT_TRUE(platform::SoundDeviceAttachToWindow());
    }
    void TearDown() override { platform::SoundDeviceClose(); }

    // A buffer holding a tone, ready to play.
    static platform::SoundBuffer Tone(uint32_t bytes, uint32_t flags) {
        platform::SoundBuffer buffer = platform::SoundBufferCreate(Mono8(bytes, flags), 0);
        platform::SoundRegions regions;
        if (buffer && platform::SoundBufferLock(*buffer, 0, bytes, false, &regions)) {
            for (uint32_t i = 0; i < regions.firstBytes; ++i) {
                regions.first[i] = (i / 8) % 2 == 0 ? 0xC0 : 0x40;
            }
            platform::SoundBufferUnlock(*buffer, regions);
        }
        return buffer;
    }

    static uint32_t Status(platform::SoundBufferData& buffer) {
        uint32_t status = 0xFFFFFFFF;
        EXPECT_TRUE(platform::SoundBufferStatus(buffer, &status));
        return status;
    }
};

TEST_F(SoundTest, BuffersAreMadeForSupportedDescriptionsAndLockedWrappingRound) {
    platform::SoundBufferDescription threeChannels = Mono8(600, 0);
    threeChannels.format.channels = 3;
    threeChannels.format.blockAlign = 3;
    platform::SoundBufferDescription tooSlow = Mono8(400, 0);
    tooSlow.format.samplesPerSecond = platform::kFrequencyMin - 1;
    for (const auto& refused : {threeChannels, tooSlow, Mono8(platform::kBufferMinBytes - 1, 0)}) {
        EXPECT_FALSE(platform::SoundBufferDescriptionSupported(refused));
        EXPECT_FALSE(platform::SoundBufferCreate(refused, 0));
    }

    platform::SoundBuffer buffer = platform::SoundBufferCreate(Mono8(400, kControls), 3);
    ASSERT_TRUE(buffer);
    uint32_t status = 0xFFFFFFFF;
    ASSERT_TRUE(platform::SoundBufferStatus(*buffer, &status));
    EXPECT_EQ(status, 0U) << "a new buffer is stopped";
    platform::SoundRegions regions;
    ASSERT_TRUE(platform::SoundBufferLock(*buffer, 300, 200, false, &regions));
    EXPECT_EQ(regions.firstBytes, 100U);
    EXPECT_EQ(regions.secondBytes, 100U);
    ASSERT_NE(regions.second, nullptr);
    EXPECT_EQ(regions.first - regions.second, 300) << "the second region is the buffer's start";
    std::memset(regions.first, 0x80, regions.firstBytes);
    std::memset(regions.second, 0x80, regions.secondBytes);
    EXPECT_TRUE(platform::SoundBufferUnlock(*buffer, regions));

    ASSERT_TRUE(platform::SoundBufferLock(*buffer, 0, 400, false, &regions));
    EXPECT_EQ(regions.firstBytes, 400U);
    EXPECT_EQ(regions.secondBytes, 0U);
    EXPECT_TRUE(platform::SoundBufferUnlock(*buffer, regions));
    EXPECT_FALSE(platform::SoundBufferLock(*buffer, 0, 0, false, &regions));
    EXPECT_FALSE(platform::SoundBufferLock(*buffer, 0, 401, false, &regions));
    EXPECT_FALSE(platform::SoundBufferLock(*buffer, 400, 1, false, &regions));
}

TEST_F(SoundTest, OncePlayedEndsByItselfLoopedPlaysUntilStopped) {
    platform::SoundBuffer buffer = Tone(400, kControls);  // 50 ms
    ASSERT_TRUE(buffer);
    ASSERT_TRUE(platform::SoundBufferPlay(*buffer, 0));
    EXPECT_EQ(Status(*buffer), platform::kStatusPlayingBit);
    // Waits for the end, however long the device takes to get there.
    int waits = 0;
    while (Status(*buffer) != 0 && waits < 1000) {
        platform::SleepMs(10);
        ++waits;
    }
    EXPECT_EQ(Status(*buffer), 0U) << "a once-played sound stops at its end";

    ASSERT_TRUE(platform::SoundBufferSetPosition(*buffer, 0));
    ASSERT_TRUE(platform::SoundBufferPlay(*buffer, platform::kPlayLoopingFlag));
    const uint32_t looping = platform::kStatusPlayingBit | platform::kStatusLoopingBit;
    EXPECT_EQ(Status(*buffer), looping);
    platform::SleepMs(200);  // four times its length
    EXPECT_EQ(Status(*buffer), looping);
    ASSERT_TRUE(platform::SoundBufferStop(*buffer));
    EXPECT_EQ(Status(*buffer), 0U);
    platform::SleepMs(100);
    EXPECT_EQ(Status(*buffer), 0U) << "a stopped sound stays stopped";
    EXPECT_FALSE(platform::SoundBufferSetPosition(*buffer, 400));
}

TEST_F(SoundTest, VolumeRateAndPanAreTakenInTheirRangesWithTheirControlsOnly) {
    platform::SoundBuffer plain = Tone(400, platform::kBufferStatic);
    platform::SoundBuffer controlled = Tone(400, kControls);
    ASSERT_TRUE(plain);
    ASSERT_TRUE(controlled);
    EXPECT_FALSE(platform::SoundBufferSetVolume(*plain, -100));
    EXPECT_FALSE(platform::SoundBufferSetFrequency(*plain, 11025));
    EXPECT_FALSE(platform::SoundBufferSetPan(*plain, 0));

    for (const int32_t volume : {platform::kVolumeSilent, -1500, platform::kVolumeFull}) {
        EXPECT_TRUE(platform::SoundBufferSetVolume(*controlled, volume)) << volume;
    }
    for (const int32_t volume : {platform::kVolumeSilent - 1, platform::kVolumeFull + 1}) {
        EXPECT_FALSE(platform::SoundBufferSetVolume(*controlled, volume)) << volume;
    }
    for (const uint32_t rate :
         {platform::kFrequencyOriginal, platform::kFrequencyMin, 22050U, platform::kFrequencyMax}) {
        EXPECT_TRUE(platform::SoundBufferSetFrequency(*controlled, rate)) << rate;
    }
    for (const uint32_t rate : {platform::kFrequencyMin - 1, platform::kFrequencyMax + 1}) {
        EXPECT_FALSE(platform::SoundBufferSetFrequency(*controlled, rate)) << rate;
    }
    for (const int32_t pan : {platform::kPanLeft, 0, platform::kPanRight}) {
        EXPECT_TRUE(platform::SoundBufferSetPan(*controlled, pan)) << pan;
    }
    for (const int32_t pan : {platform::kPanLeft - 1, platform::kPanRight + 1}) {
        EXPECT_FALSE(platform::SoundBufferSetPan(*controlled, pan)) << pan;
    }
    // A sound played at a rate of its own still ends by itself.
    ASSERT_TRUE(platform::SoundBufferSetFrequency(*controlled, platform::kFrequencyMax));
    ASSERT_TRUE(platform::SoundBufferPlay(*controlled, 0));
    int waits = 0;
    while (Status(*controlled) != 0 && waits < 1000) {
        platform::SleepMs(10);
        ++waits;
    }
    EXPECT_EQ(Status(*controlled), 0U);
}

}  // namespace
}  // namespace korvane::contract
