#include "tools/soundgen/instruments.h"

#include <algorithm>
#include <cstddef>

#include "tools/assetkit/det_math.h"
#include "tools/assetkit/random.h"
#include "tools/soundgen/dsp.h"

namespace korvane::soundgen {

namespace {

using assetkit::Random;

std::size_t Samples(double seconds) {
    return static_cast<std::size_t>(seconds * kSampleRate);
}

double Time(std::size_t i) {
    return static_cast<double>(i) / kSampleRate;
}

// Filter sweeps and vibrato move slowly, so they are worked out every 16
// samples only.
constexpr std::size_t kControlPeriod = 16;

std::vector<double> Lead(double midi, double gate, double velocity) {
    const Envelope amp{0.006, 0.25, 0.72, 0.14};
    const double base = NoteFrequency(midi);
    Oscillator a(0.0);
    Oscillator b(0.37);
    Oscillator sub(0.5);
    Filter filter;
    std::vector<double> out(Samples(gate + amp.release));
    EnvelopePlayer envelope(amp, gate);
    Falloff brightness(0.18);
    double f = base;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        const double sweep = brightness.Next();
        if (i % kControlPeriod == 0) {
            // Vibrato creeps in on held notes only.
            const double depth = 0.18 * assetkit::SmoothStep(0.18, 0.5, t);
            f = base *
                assetkit::Pow(2.0, depth * assetkit::Sine(assetkit::kTwoPi * 5.4 * t) / 12.0);
            filter.Set(900.0 + 3200.0 * sweep * velocity, 0.25);
        }
        const double tone = a.Saw(f * 1.0035) + b.Saw(f * 0.9965) + 0.4 * sub.Pulse(f * 0.5, 0.5);
        out[i] = 0.32 * filter.Low(tone) * envelope.Next() * velocity;
    }
    return out;
}

std::vector<double> Pluck(double midi, double gate, double velocity) {
    const Envelope amp{0.002, 0.16, 0.25, 0.12};
    const double f = NoteFrequency(midi);
    Oscillator osc;
    Filter filter;
    std::vector<double> out(Samples(gate + amp.release));
    EnvelopePlayer envelope(amp, gate);
    Falloff brightness(0.05);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double sweep = brightness.Next();
        if (i % kControlPeriod == 0) {
            filter.Set(500.0 + 5200.0 * sweep * velocity, 0.35);
        }
        out[i] = 0.5 * filter.Low(osc.Pulse(f, 0.3)) * envelope.Next() * velocity;
    }
    return out;
}

std::vector<double> Bell(double midi, double gate, double velocity) {
    const double f = NoteFrequency(midi);
    const double length = gate + 1.4;
    Oscillator modulator;
    Oscillator shimmer;
    double phase = 0.0;
    std::vector<double> out(Samples(length));
    Falloff index_fall(0.22);
    Falloff shimmer_fall(0.15);
    Falloff ring(0.55);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        const double index = 0.4 + 2.4 * index_fall.Next();
        const double mod = modulator.Sine(f * 2.0) * index;
        phase += f / kSampleRate;
        if (phase >= 1.0) {
            phase -= 1.0;
        }
        const double carrier = assetkit::Sine(assetkit::kTwoPi * phase + mod);
        const double overtone = 0.12 * shimmer.Sine(f * 4.01) * shimmer_fall.Next();
        // A few milliseconds of attack and a fade at the end keep it click-free.
        const double attack = assetkit::Clamp(t / 0.003, 0.0, 1.0);
        const double tail = assetkit::Clamp((length - t) / 0.05, 0.0, 1.0);
        out[i] = 0.42 * (carrier + overtone) * ring.Next() * attack * tail * velocity;
    }
    return out;
}

std::vector<double> Bass(double midi, double gate, double velocity) {
    const Envelope amp{0.004, 0.18, 0.75, 0.06};
    const double f = NoteFrequency(midi);
    Oscillator saw;
    Oscillator sub;
    Filter filter;
    std::vector<double> out(Samples(gate + amp.release));
    EnvelopePlayer envelope(amp, gate);
    Falloff brightness(0.07);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double sweep = brightness.Next();
        if (i % kControlPeriod == 0) {
            filter.Set(220.0 + 1500.0 * sweep * velocity, 0.45);
        }
        const double tone = saw.Saw(f) + 0.8 * sub.Sine(f);
        out[i] = 0.55 * filter.Low(tone) * envelope.Next() * velocity;
    }
    return out;
}

std::vector<double> Round(double midi, double gate, double velocity) {
    const Envelope amp{0.02, 0.4, 0.8, 0.25};
    const double f = NoteFrequency(midi);
    Oscillator fundamental;
    Oscillator second;
    std::vector<double> out(Samples(gate + amp.release));
    EnvelopePlayer envelope(amp, gate);
    Falloff overtone_fall(0.3);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double tone =
            fundamental.Sine(f) + 0.25 * second.Sine(f * 2.0) * overtone_fall.Next();
        out[i] = 0.6 * tone * envelope.Next() * velocity;
    }
    return out;
}

std::vector<double> Pad(double midi, double gate, double velocity) {
    const Envelope amp{0.45, 0.8, 0.85, 0.9};
    const double f = NoteFrequency(midi);
    Oscillator a(0.1);
    Oscillator b(0.6);
    Oscillator c(0.33);
    Filter filter;
    filter.Set(1300.0, 0.1);
    std::vector<double> out(Samples(gate + amp.release));
    EnvelopePlayer envelope(amp, gate);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        const double drift = 1.0 + 0.0015 * assetkit::Sine(assetkit::kTwoPi * 0.3 * t);
        const double tone = a.Saw(f * 0.996 * drift) + b.Saw(f * 1.004) + c.Saw(f * 2.0 * drift);
        out[i] = 0.16 * filter.Low(tone) * envelope.Next() * velocity;
    }
    return out;
}

std::vector<double> Kick(double velocity, Random& random) {
    std::vector<double> out(Samples(0.42));
    double phase = 0.0;
    Falloff pitch_fall(0.035);
    Falloff body_fall(0.16);
    Falloff click_fall(0.002);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        const double f = 46.0 + 110.0 * pitch_fall.Next();
        phase += f / kSampleRate;
        const double body = assetkit::Sine(assetkit::kTwoPi * phase) * body_fall.Next();
        const double click = random.Signed() * click_fall.Next() * 0.3;
        const double tail = assetkit::Clamp((0.42 - t) / 0.05, 0.0, 1.0);
        out[i] = 0.95 * (assetkit::Tanh(body * 1.6) + click) * tail * velocity;
    }
    return out;
}

std::vector<double> Snare(double velocity, Random& random, bool clap) {
    std::vector<double> out(Samples(0.3));
    Filter noise_filter;
    noise_filter.Set(clap ? 1300.0 : 2600.0, 0.2);
    double phase = 0.0;
    Falloff noise_fall(clap ? 0.07 : 0.09);
    Falloff burst_fall(0.004);
    Falloff pitch_fall(0.02);
    Falloff tone_fall(0.05);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        double noise_env = noise_fall.Next();
        if (clap) {
            // Three quick claps smeared into one.
            const double bursts = burst_fall.Next() + Decay(t > 0.011 ? t - 0.011 : 1.0, 0.004) +
                                  Decay(t > 0.022 ? t - 0.022 : 1.0, 0.004);
            noise_env = 0.6 * noise_env + 0.5 * bursts;
        }
        const double noise = noise_filter.Band(random.Signed()) * noise_env * 1.6;
        phase += (170.0 + 40.0 * pitch_fall.Next()) / kSampleRate;
        const double tone =
            clap ? 0.0 : assetkit::Sine(assetkit::kTwoPi * phase) * tone_fall.Next();
        const double tail = assetkit::Clamp((0.3 - t) / 0.04, 0.0, 1.0);
        out[i] = 0.55 * (noise + 0.6 * tone) * tail * velocity;
    }
    return out;
}

std::vector<double> Metal(double velocity, Random& random, double length, double time_constant,
                          double cutoff, double attack) {
    std::vector<double> out(Samples(length));
    Filter filter;
    filter.Set(cutoff, 0.3);
    Falloff ring(time_constant);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        const double rise = assetkit::Clamp(t / attack, 0.0, 1.0);
        const double tail = assetkit::Clamp((length - t) / 0.02, 0.0, 1.0);
        out[i] = 0.3 * filter.High(random.Signed()) * ring.Next() * rise * tail * velocity;
    }
    return out;
}

std::vector<double> Rim(double velocity) {
    std::vector<double> out(Samples(0.08));
    Oscillator a;
    Oscillator b;
    Falloff ring(0.012);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = Time(i);
        const double tail = assetkit::Clamp((0.08 - t) / 0.01, 0.0, 1.0);
        out[i] = 0.4 * (a.Sine(820.0) + 0.6 * b.Sine(1390.0)) * ring.Next() * tail * velocity;
    }
    return out;
}

std::vector<double> Hit(char kind, double velocity, std::uint64_t seed) {
    Random random(seed);
    switch (kind) {
        case 'k':
            return Kick(velocity, random);
        case 's':
            return Snare(velocity, random, false);
        case 'c':
            return Snare(velocity, random, true);
        case 'h':
            return Metal(velocity, random, 0.09, 0.018, 7500.0, 0.0005);
        case 'o':
            return Metal(velocity, random, 0.35, 0.11, 6500.0, 0.001);
        case 'm':
            return Metal(velocity, random, 0.12, 0.03, 5000.0, 0.012);
        case 'r':
            return Rim(velocity);
        default:
            return {};
    }
}

}  // namespace

bool InstrumentNamed(std::string_view name, Instrument& out) {
    struct Entry {
        std::string_view name;
        Instrument instrument;
    };
    static constexpr Entry kTable[] = {
        {"lead", Instrument::kLead},   {"pluck", Instrument::kPluck}, {"bell", Instrument::kBell},
        {"bass", Instrument::kBass},   {"round", Instrument::kRound}, {"pad", Instrument::kPad},
        {"drums", Instrument::kDrums},
    };
    for (const Entry& entry : kTable) {
        if (entry.name == name) {
            out = entry.instrument;
            return true;
        }
    }
    return false;
}

std::vector<double> RenderNote(Instrument instrument, double midi, double gate, double velocity) {
    switch (instrument) {
        case Instrument::kLead:
            return Lead(midi, gate, velocity);
        case Instrument::kPluck:
            return Pluck(midi, gate, velocity);
        case Instrument::kBell:
            return Bell(midi, gate, velocity);
        case Instrument::kBass:
            return Bass(midi, gate, velocity);
        case Instrument::kRound:
            return Round(midi, gate, velocity);
        case Instrument::kPad:
            return Pad(midi, gate, velocity);
        case Instrument::kDrums:
            break;
    }
    return {};
}

bool IsDrum(char kind) {
    switch (kind) {
        case 'k':
        case 's':
        case 'c':
        case 'h':
        case 'o':
        case 'm':
        case 'r':
            return true;
        default:
            return false;
    }
}

std::vector<double> RenderDrum(char kind, double velocity, std::uint64_t seed) {
    std::vector<double> hit = Hit(kind, velocity, seed);
    // Every hit opens over a millisecond, so none starts with a jump.
    const std::size_t ramp = std::min<std::size_t>(hit.size(), kSampleRate / 1000);
    for (std::size_t i = 0; i < ramp; ++i) {
        hit[i] *= static_cast<double>(i) / static_cast<double>(ramp);
    }
    return hit;
}

}  // namespace korvane::soundgen
