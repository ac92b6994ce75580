#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/assets/asset_readers.h"

namespace korvane::test {
namespace {

struct Expected {
    const char* name;
    double min_seconds;
    double max_seconds;
    bool loops;
};

constexpr Expected kSounds[] = {
    {"Music.wav", 30.0, 60.0, true},
    {"Background.wav", 30.0, 60.0, true},
    {"Thud.wav", 0.1, 0.8, false},
    {"Drop.wav", 0.05, 0.3, false},
    // A turn can come ten times a second.
    {"Rotate.wav", 0.03, 0.1, false},
};

Sound Load(const std::string& name) {
    std::string error;
    Sound sound = ReadSound(std::string(KORVANE_DATA_DIR) + "/Sound/" + name, error);
    EXPECT_EQ(error, "") << name;
    return sound;
}

TEST(SoundFiles, ArePcm16BitAtARateTheGameTakes) {
    for (const Expected& expected : kSounds) {
        SCOPED_TRACE(expected.name);
        const Sound sound = Load(expected.name);
        EXPECT_EQ(sound.bits, 16);
        EXPECT_TRUE(sound.channels == 1 || sound.channels == 2);
        EXPECT_TRUE(sound.sample_rate == 22050 || sound.sample_rate == 44100);
        EXPECT_FALSE(sound.samples.empty());
    }
}

// Prints each sound's figures and checks length, headroom and the loop seam.
TEST(SoundFiles, LengthPeakLoudnessAndSeam) {
    std::printf("%-16s %8s %10s %10s %6s %8s\n", "sound", "seconds", "peak dBFS", "RMS dBFS",
                "seam", "p99 step");
    for (const Expected& expected : kSounds) {
        SCOPED_TRACE(expected.name);
        const Sound sound = Load(expected.name);
        ASSERT_GT(sound.channels, 0);
        const SoundFigures f = Measure(sound);
        std::printf("%-16s %8.3f %10.2f %10.2f %6d %8d\n", expected.name, f.seconds, f.peak_dbfs,
                    f.rms_dbfs, f.seam_jump, f.typical_jump);
        EXPECT_GE(f.seconds, expected.min_seconds);
        EXPECT_LE(f.seconds, expected.max_seconds);
        EXPECT_LT(f.peak_dbfs, -1.0) << "no headroom";
        EXPECT_GT(f.peak_dbfs, -12.0) << "too quiet";
        if (expected.loops) {
            // From the last sample back to the first is no bigger a step
            // than the music takes between neighbouring samples anyway.
            EXPECT_LE(f.seam_jump, f.typical_jump);
        } else {
            // Effects start and end at rest, so they never click.
            const int first = std::abs(static_cast<int>(sound.samples.front()));
            const int last = std::abs(static_cast<int>(sound.samples.back()));
            EXPECT_LT(first, 330);
            EXPECT_LT(last, 330);
        }
    }
}

TEST(SoundFiles, EffectsPeakAboveTheMusic) {
    const double music =
        std::max(Measure(Load("Music.wav")).peak_dbfs, Measure(Load("Background.wav")).peak_dbfs);
    for (const char* name : {"Thud.wav", "Drop.wav", "Rotate.wav"}) {
        EXPECT_GT(Measure(Load(name)).peak_dbfs, music + 1.0) << name;
    }
}

TEST(SoundFiles, TheTwoMusicLoopsAreDifferentPieces) {
    const SoundFigures play = Measure(Load("Music.wav"));
    const SoundFigures menu = Measure(Load("Background.wav"));
    EXPECT_NE(play.seconds, menu.seconds);
    EXPECT_NE(Load("Music.wav").samples, Load("Background.wav").samples);
}

}  // namespace
}  // namespace korvane::test
