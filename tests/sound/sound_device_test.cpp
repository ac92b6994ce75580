// The device's life: SoundInit's two messages, the shut-down order, the
// volume, rate and pan controls, and what the fake device's mix lets a test
// hear.
#include <cmath>

#include "tests/sound/sound_fixture.h"

namespace korvane {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::FormatChunk;
using testing::Pcm;
using testing::Ramp;
using testing::RiffWave;
using testing::SimpleWav;
using testing::SoundTest;

class SoundDeviceTest : public SoundTest {};

TEST_F(SoundDeviceTest, DeviceThatCannotBeCreatedIsReported) {
    SoundShutdown();
    fake::Reset();
    fake::FailStep("sound.create");
    EXPECT_EQ(SoundInit(), 0);
    EXPECT_EQ(fake::MessageBoxes(),
              std::vector<std::string>{"Unable to create Direct Sound Object."});
    EXPECT_EQ(fake::StepCalls("sound.cooperate"), 0);
    EXPECT_EQ(SoundShutdown(), 1);
    EXPECT_TRUE(JournalWith("sound.").empty()) << "nothing to release";
}

TEST_F(SoundDeviceTest, RefusedCooperationIsReportedAndTheDeviceStillReleased) {
    SoundShutdown();
    fake::Reset();
    fake::FailStep("sound.cooperate");
    EXPECT_EQ(SoundInit(), 0);
    EXPECT_EQ(fake::MessageBoxes(), std::vector<std::string>{"Unable to set cooperative level."});
    EXPECT_TRUE(fake::SoundDeviceIsOpen());
    SoundShutdown();
    EXPECT_FALSE(fake::SoundDeviceIsOpen());
    EXPECT_EQ(JournalWith("sound."), (std::vector<std::string>{"sound.create", "sound.release"}));
}

TEST_F(SoundDeviceTest, ShutDownStopsAndReleasesEverySlotInOrderThenTheDevice) {
    for (SoundId id = 0; id < 3; ++id) {
        ASSERT_EQ(Load("S" + std::to_string(id), SimpleWav(Ramp(16))), id);
    }
    SoundPlay(2, kPlayLooping);
    fake::ClearSoundCalls();
    EXPECT_EQ(SoundShutdown(), 1);
    EXPECT_EQ(JournalWith("sound."),
              (std::vector<std::string>{"sound.create", "sound.cooperate", "sound.buffer slot=0",
                                        "sound.buffer slot=1", "sound.buffer slot=2",
                                        "sound.release slot=0", "sound.release slot=1",
                                        "sound.release slot=2", "sound.release"}));
    EXPECT_EQ(SoundCallTexts(),
              (std::vector<std::string>{"stop 0 0", "position 0 0", "stop 1 0", "position 1 0",
                                        "stop 2 0", "position 2 0"}));
    EXPECT_EQ(fake::LiveSoundBuffers(), 0);
    EXPECT_EQ(SoundStatus(0), 0xFFFFFFFFU);
}

TEST_F(SoundDeviceTest, VolumeInPercentBecomesThirtyHundredthsOfADecibelEach) {
    ASSERT_EQ(Load("Music", SimpleWav(Ramp(16))), 0);
    const std::vector<std::pair<int32_t, int32_t>> cases = {
        {50, -1500}, {100, 0}, {0, -3000}, {1, -2970}, {-233, -9990}};
    for (const auto& [percent, hundredths] : cases) {
        EXPECT_EQ(SoundSetVolume(0, percent), 1) << percent;
        EXPECT_EQ(fake::InspectSoundBuffer(0)->volume, hundredths) << percent;
    }
    // Above full volume or below silence the device says no; nothing wraps.
    for (int32_t percent : {101, -234, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(SoundSetVolume(0, percent), 0) << percent;
    }
    EXPECT_EQ(fake::InspectSoundBuffer(0)->volume, -9990);
    EXPECT_EQ(SoundSetVolume(5, 50), 0) << "empty slot";
    fake::FailStep("sound.volume");
    EXPECT_EQ(SoundSetVolume(0, 50), 0);
}

TEST_F(SoundDeviceTest, RateAndPanNeedTheirControlsAskedForAtLoad) {
    ASSERT_EQ(Load("Plain", SimpleWav(Ramp(16))), 0);
    ASSERT_EQ(Load("Controlled", SimpleWav(Ramp(16)), 0x20 | 0x40), 1);
    EXPECT_EQ(SoundSetFrequency(0, 11025), 0);
    EXPECT_EQ(SoundSetPan(0, -500), 0);
    EXPECT_EQ(SoundSetFrequency(1, 11025), 1);
    EXPECT_EQ(SoundSetPan(1, -500), 1);
    EXPECT_EQ(fake::InspectSoundBuffer(1)->frequency, 11025U);
    EXPECT_EQ(fake::InspectSoundBuffer(1)->pan, -500);
    EXPECT_EQ(SoundSetFrequency(1, 0), 1) << "back to the file's rate";
    EXPECT_EQ(fake::InspectSoundBuffer(1)->frequency, 8000U);
    EXPECT_EQ(SoundSetFrequency(-1, 11025), 0);
    EXPECT_EQ(SoundSetPan(16, 0), 0);
}

// Stereo floats of the fake mix at `rate`, for `frames` frames.
std::vector<float> Mix(uint32_t rate, uint32_t frames) {
    return fake::MixSound(rate, frames);
}

TEST_F(SoundDeviceTest, MixPlaysTheLoadedSamples) {
    // 16-bit stereo: left a rising ramp, right its negative.
    Bytes data;
    for (int i = 0; i < 100; ++i) {
        testing::Put16(data, static_cast<uint16_t>(i * 300));
        testing::Put16(data, static_cast<uint16_t>(-i * 300));
    }
    ASSERT_EQ(Load("Stereo", RiffWave({FormatChunk(Pcm(2, 8000, 16)), Chunk("data", data)})), 0);
    EXPECT_EQ(Mix(8000, 10), std::vector<float>(20, 0.0F)) << "silent until played";
    SoundPlay(0, kPlayOnce);
    const auto mix = Mix(8000, 120);
    for (int i = 0; i < 100; ++i) {
        EXPECT_FLOAT_EQ(mix[2 * i], i * 300 / 32768.0F) << i;
        EXPECT_FLOAT_EQ(mix[2 * i + 1], -i * 300 / 32768.0F) << i;
    }
    for (int i = 100; i < 120; ++i) {
        EXPECT_EQ(mix[2 * i], 0.0F) << "a once-played sound ends, " << i;
    }
}

TEST_F(SoundDeviceTest, MixAppliesVolumePanRateAndLoops) {
    const Bytes full(40, 0xC0);  // 8-bit, +0.5
    ASSERT_EQ(Load("Loud", SimpleWav(full), 0x20 | 0x40), 0);
    SoundPlay(0, kPlayLooping);
    SoundSetVolume(0, 80);  // -600: about half
    SoundSetPan(0, 2000);   // the left side 20 dB lower again
    const auto mix = Mix(8000, 100);
    const float half = 0.5F * std::pow(10.0F, -600 / 2000.0F);
    EXPECT_NEAR(mix[198], half * 0.1F, 1e-6) << "left, long past the end of one pass";
    EXPECT_NEAR(mix[199], half, 1e-6) << "right";

    SoundSetVolume(0, 100);
    SoundSetPan(0, 0);
    SoundSetFrequency(0, 4000);  // half speed: 40 frames last 80 at 8 kHz
    ASSERT_EQ(Load("Short", SimpleWav(Bytes(40, 0xA0)), 0x20), 1);
    SoundSetFrequency(1, 4000);
    SoundPlay(1, kPlayOnce);
    const auto both = Mix(8000, 100);
    EXPECT_NEAR(both[2 * 79], 0.5F + 0.25F, 1e-6);
    EXPECT_NEAR(both[2 * 81], 0.5F, 1e-6) << "the once-played sound has ended";
}

TEST_F(SoundDeviceTest, MixIsClampedToFullScale) {
    for (SoundId id = 0; id < 4; ++id) {
        ASSERT_EQ(Load("S" + std::to_string(id), SimpleWav(Bytes(16, 0xF0))), id);
        SoundPlay(id, kPlayLooping);
    }
    for (float sample : Mix(8000, 8)) {
        EXPECT_EQ(sample, 1.0F);
    }
}

}  // namespace
}  // namespace korvane
