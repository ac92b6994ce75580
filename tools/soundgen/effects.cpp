#include "tools/soundgen/effects.h"

#include <cstddef>

#include "tools/assetkit/det_math.h"
#include "tools/assetkit/random.h"
#include "tools/soundgen/dsp.h"
#include "tools/soundgen/instruments.h"

namespace korvane::soundgen {

namespace {

using assetkit::Clamp;
using assetkit::kTwoPi;

std::vector<double> Silence(double seconds) {
    return std::vector<double>(static_cast<std::size_t>(seconds * kSampleRate), 0.0);
}

double Time(std::size_t i) {
    return static_cast<double>(i) / kSampleRate;
}

// A short fade at both ends so the sound starts and stops without a click.
void Fade(std::vector<double>& sound, double in_seconds, double out_seconds) {
    const double length = Time(sound.size());
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = Time(i);
        sound[i] *= Clamp(t / in_seconds, 0.0, 1.0) * Clamp((length - t) / out_seconds, 0.0, 1.0);
    }
}

void Mix(std::vector<double>& into, const std::vector<double>& sound, double at_seconds,
         double gain) {
    const auto start = static_cast<std::size_t>(at_seconds * kSampleRate);
    for (std::size_t i = 0; i < sound.size() && start + i < into.size(); ++i) {
        into[start + i] += sound[i] * gain;
    }
}

}  // namespace

std::vector<double> MakeThud() {
    std::vector<double> out = Silence(0.55);
    assetkit::Random random(0x7A11);
    Filter noise_filter;
    noise_filter.Set(900.0, 0.3);
    double phase = 0.0;
    Falloff pitch_fall(0.03);
    Falloff body_fall(0.11);
    Falloff dust_fall(0.04);
    for (std::size_t i = 0; i < out.size(); ++i) {
        phase += (52.0 + 70.0 * pitch_fall.Next()) / kSampleRate;
        const double body = assetkit::Sine(kTwoPi * phase) * body_fall.Next();
        const double dust = noise_filter.Low(random.Signed()) * dust_fall.Next();
        out[i] = 0.9 * assetkit::Tanh(1.4 * body) + 0.5 * dust;
    }
    // A rising major chord of bells, quick as a flourish.
    Mix(out, RenderNote(Instrument::kBell, 76, 0.05, 0.9), 0.0, 0.45);
    Mix(out, RenderNote(Instrument::kBell, 80, 0.05, 0.8), 0.035, 0.4);
    Mix(out, RenderNote(Instrument::kBell, 83, 0.05, 0.8), 0.07, 0.4);
    Mix(out, RenderNote(Instrument::kBell, 88, 0.05, 0.7), 0.105, 0.3);
    Fade(out, 0.002, 0.12);
    return out;
}

std::vector<double> MakeDrop() {
    std::vector<double> out = Silence(0.14);
    assetkit::Random random(0xD209);
    Filter knock;
    knock.Set(1400.0, 0.6);
    double phase = 0.0;
    Oscillator overtone;
    Falloff pitch_fall(0.012);
    Falloff body_fall(0.035);
    Falloff tap_fall(0.006);
    Falloff wood_fall(0.012);
    for (std::size_t i = 0; i < out.size(); ++i) {
        phase += (150.0 + 90.0 * pitch_fall.Next()) / kSampleRate;
        const double body = assetkit::Sine(kTwoPi * phase) * body_fall.Next();
        const double wood = overtone.Sine(590.0) * wood_fall.Next();
        const double tap = knock.Band(random.Signed()) * tap_fall.Next();
        out[i] = body + 0.35 * wood + 0.6 * tap;
    }
    Fade(out, 0.001, 0.04);
    return out;
}

std::vector<double> MakeRotate() {
    std::vector<double> out = Silence(0.075);
    Oscillator modulator;
    double phase = 0.0;
    Falloff index_fall(0.015);
    Falloff ring(0.02);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        const double f = 1050.0 + 650.0 * Clamp(t / 0.04, 0.0, 1.0);
        phase += f / kSampleRate;
        if (phase >= 1.0) {
            phase -= 1.0;
        }
        const double mod = modulator.Sine(f * 1.5) * 1.2 * index_fall.Next();
        out[i] = assetkit::Sine(kTwoPi * phase + mod) * ring.Next();
    }
    Fade(out, 0.002, 0.02);
    return out;
}

}  // namespace korvane::soundgen
