#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "tools/soundgen/dsp.h"
#include "tools/soundgen/effects.h"
#include "tools/soundgen/instruments.h"
#include "tools/soundgen/mixer.h"
#include "tools/soundgen/song.h"
#include "tools/soundgen/wav.h"

namespace korvane::test {
namespace {

using namespace soundgen;

double Mean(const std::vector<double>& v) {
    double sum = 0.0;
    for (const double x : v) {
        sum += x;
    }
    return sum / static_cast<double>(v.size());
}

// A narrow pulse is lopsided; left as it is it would shift the whole mix off
// centre and waste headroom.
TEST(Synthesis, OscillatorsCarryNoOffset) {
    for (const double width : {0.1, 0.3, 0.5}) {
        Oscillator pulse;
        std::vector<double> samples;
        for (int i = 0; i < kSampleRate; ++i) {
            samples.push_back(pulse.Pulse(441.0, width));
        }
        EXPECT_NEAR(Mean(samples), 0.0, 0.01) << width;
    }
    Oscillator saw;
    std::vector<double> samples;
    for (int i = 0; i < kSampleRate; ++i) {
        samples.push_back(saw.Saw(441.0));
    }
    EXPECT_NEAR(Mean(samples), 0.0, 0.01);
}

TEST(Synthesis, EnvelopeRisesHoldsAndFadesToExactlyZero) {
    const Envelope shape{0.01, 0.05, 0.5, 0.02};
    EnvelopePlayer player(shape, 0.2);
    std::vector<double> levels;
    for (int i = 0; i < kSampleRate / 2; ++i) {
        levels.push_back(player.Next());
    }
    EXPECT_EQ(levels[0], 0.0);
    EXPECT_NEAR(levels[kSampleRate / 100], 1.0, 0.01);               // top of the attack
    EXPECT_NEAR(levels[kSampleRate / 5 - 1], 0.5, 0.02);             // settled near the sustain
    EXPECT_GT(levels[kSampleRate / 5 + 400], 0.0);                   // releasing
    EXPECT_EQ(levels[kSampleRate / 5 + kSampleRate / 50 + 1], 0.0);  // released
    EXPECT_EQ(levels.back(), 0.0);
}

TEST(Synthesis, EveryInstrumentEndsSilentAndStaysBounded) {
    for (const Instrument instrument : {Instrument::kLead, Instrument::kPluck, Instrument::kBell,
                                        Instrument::kBass, Instrument::kRound, Instrument::kPad}) {
        const std::vector<double> note = RenderNote(instrument, 60, 0.3, 1.0);
        ASSERT_FALSE(note.empty());
        EXPECT_NEAR(note.back(), 0.0, 1e-3);
        for (const double s : note) {
            ASSERT_LT(std::fabs(s), 2.0);
        }
    }
    for (const char drum : {'k', 's', 'c', 'h', 'o', 'm', 'r'}) {
        const std::vector<double> hit = RenderDrum(drum, 1.0, 7);
        ASSERT_FALSE(hit.empty()) << drum;
        EXPECT_EQ(hit.front(), 0.0) << drum;  // opens from rest
        EXPECT_NEAR(hit.back(), 0.0, 1e-3) << drum;
    }
    EXPECT_TRUE(RenderDrum('z', 1.0, 7).empty());
}

TEST(Synthesis, NoteAtTheEndOfTheLoopRingsOnAtItsStart) {
    Song song;
    std::string error;
    ASSERT_TRUE(
        ParseSong("tempo 120\nsteps 4\nbars 1\nvoice a bass reverb 0\n"
                  "pattern p\n . . . . . . . . . . . . . . . C3\nend\nplay a p\n",
                  song, error))
        << error;
    const LoopBuffer loop = RenderSong(song);
    ASSERT_EQ(loop.Size(), static_cast<std::size_t>(2 * kSampleRate));
    // The note starts a sixteenth before the end and rings past it.
    double head = 0.0;
    for (std::size_t i = 0; i < 2000; ++i) {
        head = std::max(head, std::fabs(loop.left[i]));
    }
    EXPECT_GT(head, 0.01);
    // The middle of the bar stays silent.
    EXPECT_EQ(loop.left[loop.Size() / 2], 0.0);
}

TEST(Synthesis, PcmScalesToTheAskedPeakWithoutClipping) {
    const std::vector<double> left = {0.0, 2.0, -4.0, 1.0};
    const std::vector<double> right = {4.0, 0.0, 0.0, -1.0};
    const std::vector<std::int16_t> pcm = ToPcm(left, &right, -6.0);
    ASSERT_EQ(pcm.size(), 8U);
    const int peak = static_cast<int>(std::floor(std::pow(10.0, -6.0 / 20.0) * 32767.0 + 0.5));
    EXPECT_EQ(pcm[1], peak);   // right channel's 4.0
    EXPECT_EQ(pcm[4], -peak);  // left channel's -4.0
    EXPECT_EQ(pcm[2],
              static_cast<int>(std::floor(std::pow(10.0, -6.0 / 20.0) * 32767.0 / 2.0 + 0.5)));
    EXPECT_EQ(pcm[0], 0);
}

TEST(Synthesis, WavHeaderDescribesItsData) {
    const std::vector<std::uint8_t> wav = EncodeWav({1, -1, 2, -2}, 2, 22050);
    ASSERT_EQ(wav.size(), 44U + 8U);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(wav[4], 44 + 8 - 8);
    EXPECT_EQ(std::string(wav.begin() + 12, wav.begin() + 16), "fmt ");
    EXPECT_EQ(wav[16], 16);  // a plain 16-byte PCM format chunk
    EXPECT_EQ(wav[22], 2);   // channels
    EXPECT_EQ(wav[24] | wav[25] << 8, 22050);
    EXPECT_EQ(wav[32], 4);  // block alignment
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(wav[40], 8);
    EXPECT_EQ(wav[46], 0xFF);  // -1, little-endian
}

TEST(Synthesis, EffectsAreShortAndEndAtRest) {
    for (const auto& effect : {MakeThud(), MakeDrop(), MakeRotate()}) {
        ASSERT_FALSE(effect.empty());
        EXPECT_LT(effect.size(), static_cast<std::size_t>(kSampleRate));
        EXPECT_NEAR(effect.front(), 0.0, 1e-9);
        EXPECT_NEAR(effect.back(), 0.0, 1e-3);
    }
}

}  // namespace
}  // namespace korvane::test
