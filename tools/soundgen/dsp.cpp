#include "tools/soundgen/dsp.h"

#include <cmath>

#include "tools/assetkit/det_math.h"

namespace korvane::soundgen {

using assetkit::Clamp;

namespace {

// The correction that rounds off a step at phase 0 of a wrapping ramp.
double PolyBlep(double phase, double increment) {
    if (phase < increment) {
        const double t = phase / increment;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - increment) {
        const double t = (phase - 1.0) / increment;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

double NoteFrequency(double midi) {
    return 440.0 * assetkit::Pow(2.0, (midi - 69.0) / 12.0);
}

double Oscillator::Advance(double frequency) {
    increment_ = Clamp(frequency / kSampleRate, 1e-9, 0.45);
    const double now = phase_;
    phase_ += increment_;
    if (phase_ >= 1.0) {
        phase_ -= 1.0;
    }
    return now;
}

double Oscillator::Saw(double frequency) {
    const double p = Advance(frequency);
    return 2.0 * p - 1.0 - PolyBlep(p, increment_);
}

double Oscillator::Pulse(double frequency, double width) {
    const double p = Advance(frequency);
    double shifted = p + 1.0 - width;
    if (shifted >= 1.0) {
        shifted -= 1.0;
    }
    const double naive = p < width ? 1.0 : -1.0;
    // Less the pulse's average, so a narrow pulse adds no offset.
    return naive + PolyBlep(p, increment_) - PolyBlep(shifted, increment_) - (2.0 * width - 1.0);
}

double Oscillator::Sine(double frequency) {
    const double p = Advance(frequency);
    return assetkit::Sine(assetkit::kTwoPi * p);
}

void Filter::Set(double cutoff, double resonance) {
    const double angle = assetkit::kPi * Clamp(cutoff, 10.0, kSampleRate * 0.45) / kSampleRate;
    g_ = assetkit::Sine(angle) / assetkit::Cosine(angle);
    k_ = 2.0 - 2.0 * Clamp(resonance, 0.0, 0.97);
}

void Filter::Step(double x) {
    const double a1 = 1.0 / (1.0 + g_ * (g_ + k_));
    const double a2 = g_ * a1;
    const double a3 = g_ * a2;
    const double v3 = x - ic2_;
    const double v1 = a1 * ic1_ + a2 * v3;
    const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    low_ = v2;
    band_ = v1;
    high_ = x - k_ * v1 - v2;
}

double Filter::Low(double x) {
    Step(x);
    return low_;
}

double Filter::High(double x) {
    Step(x);
    return high_;
}

double Filter::Band(double x) {
    Step(x);
    return band_;
}

double EnvelopePlayer::Next() {
    const double t = static_cast<double>(sample_++) / kSampleRate;
    if (t < gate_) {
        held_ = t < shape_.attack ? t / shape_.attack
                                  : shape_.sustain + (1.0 - shape_.sustain) * decay_.Next();
        return held_;
    }
    const double after = t - gate_;
    if (after >= shape_.release) {
        return 0.0;
    }
    // A linear fade to exactly zero, so a note ends without a click.
    return held_ * (1.0 - after / shape_.release);
}

double Decay(double t, double time_constant) {
    return assetkit::Exp(-t / time_constant);
}

Falloff::Falloff(double time_constant)
    : factor_(assetkit::Exp(-1.0 / (time_constant * kSampleRate))) {}

void PanGains(double pan, double& left, double& right) {
    const double angle = (Clamp(pan, -1.0, 1.0) + 1.0) * assetkit::kPi * 0.25;
    left = assetkit::Cosine(angle);
    right = assetkit::Sine(angle);
}

}  // namespace korvane::soundgen
