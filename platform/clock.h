#pragma once
// Time sources: a high-resolution counter that a host may lack, and a
// millisecond timer that every host has.
#include <cstdint>

namespace korvane::platform {

// Stores the counter's rate in counts per second and returns true, or returns
// false when the host has no such counter.
bool CounterFrequency(uint64_t* countsPerSecond);

// The counter's current value; it only ever grows (until it wraps at 2^64).
uint64_t CounterValue();

// Milliseconds since an arbitrary point, wrapping at 2^32.
uint32_t TimerMs();

// Gives the processor away for about `ms` milliseconds.
void SleepMs(uint32_t ms);

}  // namespace korvane::platform
