#pragma once
// Time finer than a clock that moves in whole milliseconds. Browsers that are
// not cross-origin isolated give performance.now() in whole milliseconds
// (Firefox and WebKit), and a frame that waits for the first reading past
// 40 ms then lasts 41. Where the readings show a finer clock, they are taken
// as they come.
//
// Between two whole milliseconds the position is estimated from the readings
// themselves. A run of readings back to back (the end of every wait spins so)
// sees the millisecond turn over within one reading, so the first reading of
// a new millisecond is taken as its start, and each reading after it in the
// same millisecond as a little later: by the count of readings since that
// start against the most readings ever counted in one whole millisecond.
// Readings that come no faster than they ever did keep the estimate behind
// real time, time spent elsewhere between readings only puts it further
// behind, and the count is capped so the estimate never reaches the next
// millisecond.
//
// That holds only where the clock turns over at the whole millisecond. A
// clock that adds jitter, turning over somewhere inside each millisecond
// (Firefox does, to hide fine timing), can run up to a millisecond ahead of
// real time at a turn, so a position inside the millisecond would let a wait
// end early. Such a clock is told by the milliseconds' counts: on an even
// clock many whole milliseconds hold close to the most readings (a busy machine, or the game's own
// work between two readings, only takes readings away from some), while jitter spreads them between
// none and twice as many. The estimate is used once enough whole milliseconds have shown the clock
// even, and left off until they do.
#include <array>
#include <cstddef>
#include <cstdint>

namespace korvane::platform {

class CoarseClock {
  public:
    // Places a reading of the page's clock (milliseconds); answers the time
    // in milliseconds, never less than the last answer.
    double Place(double reading);

    // The page had a turn between the last reading and the next: the time
    // between them is unknown, so the millisecond they fall in is not counted.
    void Interrupted() { interrupted_ = true; }

    // Whether the answers are being placed inside the millisecond now.
    bool Estimating() const { return fine_ || even_; }

  private:
    void CountWholeMillisecond(uint32_t count);

    bool started_ = false;
    bool fine_ = false;              // a reading has shown a fraction: taken as it is
    bool even_ = false;              // the whole milliseconds counted look even
    double current_ = 0;             // the millisecond the last reading fell in
    bool currentFromStart_ = false;  // its turn-over was seen, one reading before
    bool interrupted_ = false;       // the page had a turn since the last reading
    uint32_t count_ = 0;             // readings in it so far
    uint32_t most_ = 0;              // the most readings counted in one whole millisecond
    double last_ = 0;                // the last answer

    // The counts of whole milliseconds seen from turn to turn, judged a set
    // at a time, and how many sets in a row have looked even.
    static constexpr std::size_t kCounted = 32;
    std::array<uint32_t, kCounted> counts_{};
    std::size_t counted_ = 0;
    uint32_t evenSets_ = 0;
};

}  // namespace korvane::platform
