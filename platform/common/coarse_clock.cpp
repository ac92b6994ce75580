#include "platform/common/coarse_clock.h"

#include <algorithm>
#include <cmath>

namespace korvane::platform {
namespace {

// What an even clock shows in each set of whole milliseconds counted: of the
// counts over half the most, which leaves out those the game's own work or a busy machine cut
// short, at least half lie within a tenth of the most. Jitter spreads them, leaving about one in
// seven there.
constexpr double kNearMost = 0.9;
constexpr double kRoundingError = 1e-6;
constexpr uint32_t kEvenSets = 2;

}  // namespace

double CoarseClock::Place(double reading) {
    // A whole millisecond may come with a rounding error far below any clock's
    // step (WebKit's are whole seconds' thousandths, times a thousand).
    const double whole = std::round(reading);
    if (fine_ || std::fabs(reading - whole) > kRoundingError) {
        fine_ = true;
        last_ = std::max(last_, reading);
        return last_;
    }
    reading = whole;
    const bool interrupted = interrupted_;
    interrupted_ = false;
    if (interrupted) {
        currentFromStart_ = false;
    }
    if (!started_ || reading > current_) {
        if (started_ && reading == current_ + 1 && currentFromStart_) {
            CountWholeMillisecond(count_);
        }
        currentFromStart_ = started_ && reading == current_ + 1 && !interrupted;
        started_ = true;
        current_ = reading;
        count_ = 0;
    }
    double placed = current_;
    if (even_ && most_ > 1) {
        // The reading `count_` readings after the millisecond's start: at
        // least that many readings' time in, since no whole millisecond has
        // held more than `most_`; one short of a whole millisecond at most.
        placed += static_cast<double>(std::min(count_, most_ - 1)) / most_;
    }
    ++count_;
    last_ = std::max(last_, placed);
    return last_;
}

void CoarseClock::CountWholeMillisecond(uint32_t count) {
    most_ = std::max(most_, count);
    counts_[counted_++] = count;
    // A page's clock keeps its kind: once seen even, a spell on a busy
    // machine that takes readings from many milliseconds does not undo it.
    if (counted_ < kCounted || even_) {
        counted_ %= kCounted;
        return;
    }
    counted_ = 0;
    const uint32_t most = *std::max_element(counts_.begin(), counts_.end());
    const auto near = std::count_if(counts_.begin(), counts_.end(),
                                    [most](uint32_t count) { return count >= kNearMost * most; });
    const auto over = std::count_if(counts_.begin(), counts_.end(),
                                    [most](uint32_t count) { return 2 * count > most; });
    // Two sets in a row, so that jitter that happens to look even once is
    // not taken for an even clock.
    evenSets_ = 2 * near >= over ? evenSets_ + 1 : 0;
    even_ = evenSets_ >= kEvenSets;
}

}  // namespace korvane::platform
