#pragma once
// The game's only time source: raw stamps with busy-waits for pacing, a
// millisecond reading for intervals and chance, and a plain busy delay.
#include <cstdint>

namespace korvane {

// A raw time: the performance counter's value, or the millisecond timer when
// there is no counter. Only compared with later raw readings.
using ClockStamp = uint64_t;

// Chooses the time source. Until it runs, the millisecond timer is used.
int InitClock();
// Back to the millisecond timer, as before InitClock.
void ResetClock();

// Stores the current raw time in `stamp`.
int FrameStart(ClockStamp* stamp);

// Spins until more than `ms` milliseconds (1 to 1000) have passed since
// `stamp`; returns the elapsed milliseconds. Between two readings the backend
// gets its turn (platform::WaitTurn) with the time left.
uint32_t WaitSince(ClockStamp stamp, uint32_t ms);

// Milliseconds now, wrapping at 2^32.
uint32_t NowMs();

// Spins for more than `ms` milliseconds (1 to 1000).
int Delay(uint32_t ms);

}  // namespace korvane
