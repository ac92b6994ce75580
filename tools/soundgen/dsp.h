#pragma once

#include <cstdint>
#include <vector>

namespace korvane::soundgen {

inline constexpr int kSampleRate = 44100;

// Equal temperament with A4 = 440 Hz; midi 69 is A4.
double NoteFrequency(double midi);

// A saw or pulse oscillator with polynomial band-limited steps, so high notes
// do not alias into harsh tones.
class Oscillator {
  public:
    explicit Oscillator(double phase = 0.0) : phase_(phase) {}
    double Saw(double frequency);
    double Pulse(double frequency, double width);
    double Sine(double frequency);

  private:
    double Advance(double frequency);
    double phase_;
    double increment_ = 0.0;
};

// A state-variable filter (trapezoidal, stable at any cutoff).
class Filter {
  public:
    void Set(double cutoff, double resonance);
    double Low(double x);
    double High(double x);
    double Band(double x);

  private:
    void Step(double x);
    double g_ = 0.1;
    double k_ = 1.4;
    double ic1_ = 0.0;
    double ic2_ = 0.0;
    double low_ = 0.0;
    double band_ = 0.0;
    double high_ = 0.0;
};

// Attack, decay, sustain, release; times in seconds.
struct Envelope {
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.1;
};

// An exponential fall from 1 with the given time constant.
double Decay(double t, double time_constant);

// The same fall taken one sample at a time, without an exponential per sample.
class Falloff {
  public:
    explicit Falloff(double time_constant);
    // The level at the current sample; then moves on by one sample.
    double Next() {
        const double now = level_;
        level_ *= factor_;
        return now;
    }

  private:
    double level_ = 1.0;
    double factor_;
};

// Plays an envelope for a note held gate seconds, one sample at a time.
class EnvelopePlayer {
  public:
    EnvelopePlayer(const Envelope& shape, double gate)
        : shape_(shape), gate_(gate), decay_(shape.decay) {}
    double Next();

  private:
    Envelope shape_;
    double gate_;
    Falloff decay_;
    std::size_t sample_ = 0;
    double held_ = 0.0;
};

// A stereo signal of fixed length that wraps round: whatever runs past the
// end continues at the start, so a loop made in it joins seamlessly.
struct LoopBuffer {
    explicit LoopBuffer(std::size_t length) : left(length, 0.0), right(length, 0.0) {}
    std::size_t Size() const { return left.size(); }
    void Add(std::size_t at, double l, double r) {
        const std::size_t i = at % left.size();
        left[i] += l;
        right[i] += r;
    }
    std::vector<double> left;
    std::vector<double> right;
};

// Gains for a pan position from -1 (left) to 1 (right), constant power.
void PanGains(double pan, double& left, double& right);

}  // namespace korvane::soundgen
