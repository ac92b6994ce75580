// The SDL sound device on SDL's dummy driver: sounds kept in their own
// format and rate and mixed as the callback mixes them, sounds that end by
// themselves, volume, pan and rate in the mix, and play/stop hammering from
// the game thread while the callback runs. What every backend promises is in
// tests/contract.
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sdl/sdl_sound.h"
#include "platform/sound_device.h"
#include "sound/sound.h"
#include "tests/support/wav_bytes.h"

namespace korvane {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::FormatChunk;
using testing::Pcm;
using testing::RiffWave;

namespace fs = std::filesystem;

class SdlSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        root_ = fs::temp_directory_path() / ("korvane-sdl-sound-" + std::to_string(getpid()));
        fs::create_directories(root_);
        ASSERT_EQ(SoundInit(), 1);
        rate_ = platform::sdl::SoundDeviceRate();
        ASSERT_GT(rate_, 0U);
        platform::sdl::PauseSoundDevice(true);  // the test mixes by itself
    }
    void TearDown() override {
        SoundShutdown();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // Writes a WAV file and loads it by its absolute path.
    SoundId Load(const std::string& name, const Bytes& bytes, uint32_t flags = 0) {
        const fs::path path = root_ / (name + ".wav");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return SoundLoadWav(path.string().c_str(), flags);
    }

    std::vector<float> Mix(uint32_t frames) {
        std::vector<float> out(static_cast<size_t>(frames) * 2, 0.5F);
        platform::sdl::MixPlayingSounds(out.data(), frames);
        return out;
    }

    // 16-bit samples at the device's rate, `frames` frames, left and right
    // given by the two functions.
    Bytes Stereo16(uint32_t frames, int (*left)(uint32_t), int (*right)(uint32_t)) const {
        Bytes data;
        for (uint32_t i = 0; i < frames; ++i) {
            testing::Put16(data, static_cast<uint16_t>(left(i)));
            testing::Put16(data, static_cast<uint16_t>(right(i)));
        }
        return RiffWave({FormatChunk(Pcm(2, rate_, 16)), Chunk("data", data)});
    }

    uint32_t rate_ = 0;
    fs::path root_;
};

int Saw(uint32_t i) {
    return static_cast<int>(i % 200) * 100 - 10000;
}
int NegativeSaw(uint32_t i) {
    return -Saw(i);
}

TEST_F(SdlSoundTest, SamplesAtTheDeviceRateArriveUnchanged) {
    ASSERT_EQ(Load("saw", Stereo16(1000, Saw, NegativeSaw)), 0);
    EXPECT_EQ(Mix(16), std::vector<float>(32, 0.0F)) << "nothing plays yet";
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    const auto mix = Mix(1200);
    for (uint32_t i = 0; i < 1000; ++i) {
        ASSERT_NEAR(mix[2 * i], Saw(i) / 32768.0F, 1e-6) << i;
        ASSERT_NEAR(mix[2 * i + 1], -Saw(i) / 32768.0F, 1e-6) << i;
    }
    for (uint32_t i = 1000; i < 1200; ++i) {
        ASSERT_EQ(mix[2 * i], 0.0F) << i;
    }
}

TEST_F(SdlSoundTest, OncePlayedSoundClearsItsPlayingBitAtItsEndAndRestartsFromTheStart) {
    ASSERT_EQ(Load("once", Stereo16(500, Saw, Saw)), 0);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    Mix(499);
    EXPECT_EQ(SoundStatus(0), kStatusPlaying);
    Mix(1);
    EXPECT_EQ(SoundStatus(0), 0U);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    Mix(200);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);  // restarts while playing
    const auto mix = Mix(1);
    EXPECT_NEAR(mix[0], Saw(0) / 32768.0F, 1e-6);
}

TEST_F(SdlSoundTest, EightBitMonoAtAnotherRateIsResampledAsItIsMixed) {
    Bytes data(1102);  // a tenth of a second at 11025 Hz
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(128 + 60 * std::sin(static_cast<double>(i) / 10));
    }
    ASSERT_EQ(Load("low", RiffWave({FormatChunk(Pcm(1, 11025, 8)), Chunk("data", data)})), 0);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    const auto expectedFrames = static_cast<uint32_t>(data.size() * rate_ / 11025);
    std::vector<float> heard;
    while (SoundStatus(0) & kStatusPlaying && heard.size() < 4 * expectedFrames) {
        const auto mix = Mix(1);
        EXPECT_FLOAT_EQ(mix[0], mix[1]) << "mono on both sides";
        heard.push_back(mix[0]);
    }
    EXPECT_NEAR(heard.size(), expectedFrames, 2);
    // Each output frame lies on the line between the two source samples
    // around it.
    auto sample = [&data](size_t i) { return (data[i] - 128.0F) / 128.0F; };
    for (size_t n = 0; n + 1 < heard.size(); n += 97) {
        const double at = static_cast<double>(n) * 11025 / rate_;
        const auto i = static_cast<size_t>(at);
        const double t = at - static_cast<double>(i);
        const double expected =
            sample(i) + (sample(std::min(i + 1, data.size() - 1)) - sample(i)) * t;
        ASSERT_NEAR(heard[n], expected, 1e-4) << n;
    }
}

TEST_F(SdlSoundTest, VolumePanAndRateShapeTheMix) {
    auto constant = [](uint32_t) { return 16384; };  // 0.5
    ASSERT_EQ(Load("c", Stereo16(1000, constant, constant), 0x20 | 0x40), 0);
    ASSERT_EQ(SoundSetVolume(0, 50), 1);  // -15 dB
    ASSERT_EQ(SoundSetPan(0, -1000), 1);  // the right side 10 dB lower
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    auto mix = Mix(10);
    const float volume = std::pow(10.0F, -1500 / 2000.0F);
    EXPECT_NEAR(mix[10], 0.5F * volume, 1e-5);
    EXPECT_NEAR(mix[11], 0.5F * volume * std::pow(10.0F, -1000 / 2000.0F), 1e-5);

    ASSERT_EQ(SoundSetFrequency(0, rate_ * 2), 1);
    ASSERT_EQ(SoundPlay(0, kPlayOnce), 1);
    Mix(499);
    EXPECT_EQ(SoundStatus(0), kStatusPlaying);
    Mix(1);
    EXPECT_EQ(SoundStatus(0), 0U) << "twice the rate, half the time";
    EXPECT_EQ(SoundSetVolume(0, 101), 0);
    EXPECT_EQ(SoundSetPan(0, -10001), 0);
}

TEST_F(SdlSoundTest, SurvivesHammeringFromTheGameThreadWhileTheCallbackRuns) {
    for (SoundId id = 0; id < kSoundSlots; ++id) {
        ASSERT_EQ(
            Load("s" + std::to_string(id), Stereo16(200 + 37 * id, Saw, NegativeSaw), 0x20 | 0x40),
            id);
    }
    platform::sdl::PauseSoundDevice(false);
    const uint64_t callbacksBefore = platform::sdl::SoundCallbacks();
    std::mt19937 chance(7);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int operations = 0;
    // At least 200000 operations and enough callbacks to overlap them.
    while (operations < 200'000 || platform::sdl::SoundCallbacks() < callbacksBefore + 5) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the callback stopped running";
        const auto id = static_cast<SoundId>(chance() % kSoundSlots);
        switch (chance() % 8) {
            case 0:
            case 1:
                SoundPlay(id, chance() % 2);
                break;
            case 2:
                SoundStop(id);
                break;
            case 3:
                SoundStatus(id);
                break;
            case 4:
                SoundSetVolume(id, static_cast<int32_t>(chance() % 101));
                break;
            case 5:
                SoundSetPan(id, static_cast<int32_t>(chance() % 20001) - 10000);
                break;
            case 6:
                SoundSetFrequency(id, 1000 + chance() % 90000);
                break;
            default:
                if (operations % 512 == 0) {  // buffers come and go under the callback too
                    SoundRelease(id);
                    ASSERT_EQ(Load("r", Stereo16(300, Saw, Saw), 0x20 | 0x40), id);
                }
                break;
        }
        ++operations;
    }
    SoundStopAll();
    for (SoundId id = 0; id < kSoundSlots; ++id) {
        EXPECT_EQ(SoundStatus(id), 0U) << id;
    }
    platform::sdl::PauseSoundDevice(true);
    EXPECT_EQ(Mix(64), std::vector<float>(128, 0.0F));
}

TEST(SdlSoundDeviceTest, NoAudioDeviceMeansTheDeviceCannotBeOpened) {
    SoundShutdown();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before != nullptr ? before : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(platform::SoundDeviceOpen());
    EXPECT_EQ(platform::sdl::SoundDeviceRate(), 0U);
    if (before != nullptr) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}

}  // namespace
}  // namespace korvane
