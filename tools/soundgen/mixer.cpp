#include "tools/soundgen/mixer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/assetkit/det_math.h"

namespace korvane::soundgen {

namespace {

// A ping-pong echo on the send, wet only. The loop is run three times round
// so the echoes that cross the seam have settled.
void PingPong(LoopBuffer& send, std::size_t delay, double feedback) {
    const std::size_t n = send.Size();
    std::vector<double> left(n, 0.0);
    std::vector<double> right(n, 0.0);
    for (int pass = 0; pass < 3; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t from = (i + n - delay % n) % n;
            const double mono = (send.left[i] + send.right[i]) * 0.5;
            // The first echo lands on the left, the next on the right, and so on.
            const double new_left = mono + feedback * right[from];
            const double new_right = feedback * left[from];
            left[i] = new_left;
            right[i] = new_right;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t from = (i + n - delay % n) % n;
        send.left[i] = left[from] * 0.8;
        send.right[i] = right[from] + left[from] * 0.2;
    }
}

class Comb {
  public:
    Comb(std::size_t length, double feedback, double damping)
        : line_(length, 0.0), feedback_(feedback), damping_(damping) {}
    double Run(double x) {
        const double out = line_[at_];
        stored_ = out * (1.0 - damping_) + stored_ * damping_;
        line_[at_] = x + stored_ * feedback_;
        if (++at_ == line_.size()) {
            at_ = 0;
        }
        return out;
    }

  private:
    std::vector<double> line_;
    double feedback_;
    double damping_;
    double stored_ = 0.0;
    std::size_t at_ = 0;
};

class AllPass {
  public:
    explicit AllPass(std::size_t length) : line_(length, 0.0) {}
    double Run(double x) {
        const double delayed = line_[at_];
        const double out = delayed - x;
        line_[at_] = x + delayed * 0.5;
        if (++at_ == line_.size()) {
            at_ = 0;
        }
        return out;
    }

  private:
    std::vector<double> line_;
    std::size_t at_ = 0;
};

// A small room: parallel damped combs into two all-passes, per channel, with
// slightly different lengths on the right for width. Run twice round the loop
// so the tail that crosses the seam is the tail of the loop's own end.
void Reverberate(LoopBuffer& send, double size) {
    static constexpr std::array<std::size_t, 6> kCombs = {1116, 1188, 1277, 1356, 1422, 1491};
    static constexpr std::array<std::size_t, 2> kAllPasses = {556, 441};
    const std::size_t n = send.Size();
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<double>& signal = channel == 0 ? send.left : send.right;
        const std::size_t spread = channel == 0 ? 0 : 23;
        std::vector<Comb> combs;
        for (const std::size_t length : kCombs) {
            combs.emplace_back(length + spread, 0.7 + 0.28 * size, 0.3);
        }
        std::vector<AllPass> passes;
        for (const std::size_t length : kAllPasses) {
            passes.emplace_back(length + spread);
        }
        std::vector<double> out(n, 0.0);
        for (std::size_t i = 0; i < 2 * n; ++i) {
            const double x = signal[i < n ? i : i - n] * 0.015;
            double sum = 0.0;
            for (Comb& comb : combs) {
                sum += comb.Run(x);
            }
            for (AllPass& pass : passes) {
                sum = pass.Run(sum);
            }
            if (i >= n) {
                out[i - n] = sum;
            }
        }
        signal = std::move(out);
    }
}

void AddScaled(LoopBuffer& to, const LoopBuffer& from, double gain) {
    for (std::size_t i = 0; i < to.Size(); ++i) {
        to.left[i] += from.left[i] * gain;
        to.right[i] += from.right[i] * gain;
    }
}

}  // namespace

LoopBuffer RenderSong(const Song& song) {
    const std::size_t total_steps = song.TotalSteps();
    const double seconds = static_cast<double>(total_steps) * 60.0 /
                           (song.tempo * static_cast<double>(song.steps_per_beat));
    const auto length = static_cast<std::size_t>(std::floor(seconds * kSampleRate + 0.5));
    const double step_seconds = seconds / static_cast<double>(total_steps);
    LoopBuffer dry(length);
    LoopBuffer echo(length);
    LoopBuffer room(length);
    std::uint64_t seed = 1;
    for (const Voice& voice : song.voices) {
        double gain_left = 0.0;
        double gain_right = 0.0;
        PanGains(voice.pan, gain_left, gain_right);
        for (const NoteEvent& event : voice.events) {
            ++seed;
            const std::size_t start = event.step * length / total_steps;
            const double gate = static_cast<double>(event.steps) * step_seconds * 0.92;
            const std::vector<double> sound =
                voice.instrument == Instrument::kDrums
                    ? RenderDrum(event.drum, event.velocity, seed)
                    : RenderNote(voice.instrument, event.midi, gate, event.velocity);
            for (std::size_t i = 0; i < sound.size(); ++i) {
                const double s = sound[i] * voice.volume;
                dry.Add(start + i, s * gain_left, s * gain_right);
                if (voice.echo > 0.0) {
                    echo.Add(start + i, s * voice.echo, s * voice.echo);
                }
                room.Add(start + i, s * voice.reverb * gain_left, s * voice.reverb * gain_right);
            }
        }
    }
    const auto delay =
        static_cast<std::size_t>(static_cast<double>(song.echo_steps) * step_seconds * kSampleRate);
    PingPong(echo, delay, song.echo_feedback);
    AddScaled(room, echo, 0.4);
    Reverberate(room, song.reverb_size);
    AddScaled(dry, echo, 1.0);
    AddScaled(dry, room, 1.0);
    return dry;
}

std::vector<std::int16_t> ToPcm(const std::vector<double>& left, const std::vector<double>* right,
                                double peak_db) {
    double peak = 1e-12;
    for (std::size_t i = 0; i < left.size(); ++i) {
        peak = std::max(peak, std::fabs(left[i]));
        if (right != nullptr) {
            peak = std::max(peak, std::fabs((*right)[i]));
        }
    }
    const double gain = assetkit::Pow(10.0, peak_db / 20.0) / peak;
    const auto convert = [gain](double x) {
        const double scaled = std::floor(x * gain * 32767.0 + 0.5);
        return static_cast<std::int16_t>(assetkit::Clamp(scaled, -32767.0, 32767.0));
    };
    std::vector<std::int16_t> pcm;
    pcm.reserve(left.size() * (right != nullptr ? 2 : 1));
    for (std::size_t i = 0; i < left.size(); ++i) {
        pcm.push_back(convert(left[i]));
        if (right != nullptr) {
            pcm.push_back(convert((*right)[i]));
        }
    }
    return pcm;
}

}  // namespace korvane::soundgen
