// The counter placed inside a browser's whole milliseconds, played against a
// simulated page: real time in nanoseconds, a clock that shows it in whole
// milliseconds (evenly, or with jitter as Firefox adds it), readings that
// take time, and the game's 40 ms frames waiting as the game waits, with the
// turns the page takes while more than 1.5 ms are left.
#include "platform/common/coarse_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace korvane::platform {
namespace {

constexpr int64_t kNsPerMs = 1'000'000;

class SimulatedPage {
  public:
    SimulatedPage(bool jitter, bool fine, uint32_t seed)
        : jitter_(jitter), fine_(fine), random_(seed) {}

    // The page's clock as performance.now() gives it.
    double Reading() const {
        if (fine_) {
            // 5 microseconds, as a cross-origin isolated page gets.
            return static_cast<double>(now_ / 5'000) * 0.005;
        }
        const int64_t whole = now_ / kNsPerMs;
        if (jitter_) {
            // Each millisecond turns over at its own hidden point inside it.
            const int64_t point = static_cast<int64_t>(Hash(whole) % kNsPerMs);
            return static_cast<double>(now_ % kNsPerMs >= point ? whole + 1 : whole);
        }
        // As WebKit makes it: whole seconds' thousandths, times a thousand,
        // some a rounding error away from the whole number.
        return static_cast<double>(whole) * 0.001 * 1000.0;
    }

    // One reading through the clock under test, which takes real time; now
    // and then the machine runs something else right after.
    double Read(CoarseClock& clock) {
        const double placed = clock.Place(Reading());
        Pass(kReadNs);
        if (std::uniform_int_distribution<int>(0, 99'999)(random_) == 0) {
            Pass(std::uniform_int_distribution<int64_t>(10'000, 900'000)(random_));
        }
        return placed;
    }

    void Pass(int64_t ns) { now_ += ns; }
    int64_t Random(int64_t low, int64_t high) {
        return std::uniform_int_distribution<int64_t>(low, high)(random_);
    }
    int64_t now() const { return now_; }

    static constexpr int64_t kReadNs = 300;

  private:
    static uint64_t Hash(int64_t value) {
        uint64_t x = static_cast<uint64_t>(value) * 0x9E3779B97F4A7C15ULL;
        x ^= x >> 31;
        x *= 0xBF58476D1CE4E5B9ULL;
        return x ^ (x >> 29);
    }

    bool jitter_;
    bool fine_;
    std::mt19937 random_;
    int64_t now_ = 123 * kNsPerMs + 456'789;
};

struct Frames {
    std::vector<double> realMs;  // each frame's real length
    double mostAhead = -1e9;     // the furthest an answer got ahead of real time, ms
    bool fell = false;           // an answer was less than the one before
    bool reachedNext = false;    // an answer reached the reading's next millisecond
};

// `count` frames as the game plays them: a stamp, the frame's own work, then
// a wait for the first counter reading (10 MHz) more than 40 ms past the stamp.
Frames PlayFrames(SimulatedPage& page, CoarseClock& clock, int count) {
    Frames frames;
    double lastAnswer = 0;
    auto read = [&] {
        const int64_t before = page.now();
        const double reading = page.Reading();
        const double answer = page.Read(clock);
        const double realMs = static_cast<double>(before) / kNsPerMs;
        frames.mostAhead = std::max(frames.mostAhead, answer - realMs);
        frames.fell = frames.fell || answer < lastAnswer;
        frames.reachedNext = frames.reachedNext || answer >= reading + 1;
        lastAnswer = answer;
        return static_cast<uint64_t>(answer * 10'000);
    };
    constexpr uint64_t kLimit = 400'000;
    for (int frame = 0; frame < count; ++frame) {
        const int64_t began = page.now();
        const uint64_t stamp = read();
        page.Pass(page.Random(200'000, 6'000'000));
        read();  // the game's own readings during its frame
        page.Pass(page.Random(1'000, 100'000));
        for (;;) {
            const uint64_t elapsed = read() - stamp;
            if (elapsed > kLimit) {
                break;
            }
            const uint64_t leftUs = (kLimit - elapsed + 1) / 10;
            if (leftUs >= 12'000) {
                // A timer, which may come late.
                page.Pass(static_cast<int64_t>(leftUs - 8'000) * 1'000 + page.Random(0, 2'000'000));
                clock.Interrupted();
            } else if (leftUs >= 1'500) {
                page.Pass(page.Random(20'000, 400'000));  // the page's turn
                clock.Interrupted();
            }
        }
        frames.realMs.push_back(static_cast<double>(page.now() - began) / kNsPerMs);
    }
    return frames;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Time the page spends elsewhere between two readings is unseen: a wait that
// ends late so leaves the next frame's stamp behind real time, and that frame
// short by as much (under a millisecond), after one made longer: the game's
// pace over many frames holds.
TEST(CoarseClockTest, FramesOnAnEvenClockLastFortyMilliseconds) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SimulatedPage page(false, false, seed);
        CoarseClock clock;
        const Frames frames = PlayFrames(page, clock, 400);
        EXPECT_TRUE(clock.Estimating()) << "seed " << seed;
        // Once enough milliseconds have shown the clock even, frames last 40 ms
        // (and the readings' time beyond it) instead of 41.
        const std::vector<double> settled(frames.realMs.begin() + 80, frames.realMs.end());
        EXPECT_LT(Median(settled), 40.05) << "seed " << seed;
        double total = 0;
        for (const double ms : settled) {
            total += ms;
        }
        EXPECT_GT(total / static_cast<double>(settled.size()), 39.99) << "seed " << seed;
        EXPECT_LT(total / static_cast<double>(settled.size()), 40.1) << "seed " << seed;
        EXPECT_GT(*std::min_element(settled.begin(), settled.end()), 39.0) << "seed " << seed;
        // No answer ahead of real time, back in time, or into the next millisecond.
        EXPECT_LE(frames.mostAhead, 0.0) << "seed " << seed;
        EXPECT_FALSE(frames.fell) << "seed " << seed;
        EXPECT_FALSE(frames.reachedNext) << "seed " << seed;
    }
}

// A jittered clock turns over up to a millisecond ahead of real time; placed
// inside its milliseconds, half the frames would end early. Its readings are
// taken whole, as they come.
TEST(CoarseClockTest, AJitteredClockIsTakenInWholeMilliseconds) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SimulatedPage page(true, false, seed);
        CoarseClock clock;
        const Frames frames = PlayFrames(page, clock, 400);
        EXPECT_FALSE(clock.Estimating()) << "seed " << seed;
        EXPECT_GT(Median(frames.realMs), 40.5) << "seed " << seed;
        EXPECT_FALSE(frames.fell) << "seed " << seed;
    }
}

TEST(CoarseClockTest, AFineClockIsTakenAsItComes) {
    SimulatedPage page(false, true, 7);
    CoarseClock clock;
    const Frames frames = PlayFrames(page, clock, 100);
    EXPECT_TRUE(clock.Estimating());
    EXPECT_LT(Median(frames.realMs), 40.05);
    EXPECT_GE(*std::min_element(frames.realMs.begin(), frames.realMs.end()), 40.0);
    EXPECT_LE(frames.mostAhead, 1e-9);
    EXPECT_FALSE(frames.fell);
    double reading = 0;
    for (int k = 0; k < 10; ++k) {
        reading = page.Reading();
        EXPECT_EQ(clock.Place(reading), reading);
        page.Pass(1'234);
    }
}

}  // namespace
}  // namespace korvane::platform
