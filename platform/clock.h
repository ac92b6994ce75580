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

// The host's turn inside the game's busy waits. The game waits by reading the
// clock again and again; between two readings of a wait that has not ended
// it calls this with the time left until the wait's limit, in whole
// microseconds (rounded down, so 0 means less than one). A backend whose host
// needs the thread now and then (to paint, take events, play sound) gives it
// here, for less than the time left, so the game's next reading still comes
// before the limit, and the wait ends, as everywhere, at the first reading
// past it. It never reads the clock for the game, so the game sees the same
// readings whatever the backend does here.
//   headless: nothing (its clock is virtual; the calls are counted)
//   desktop: looks after its window and sound device (the clock reads do
//            not; between frames the message peek does)
//   Windows: nothing, the game spins as it was made to
//   browser: yields to the page's event loop, the only way it paints, takes
//            keys and plays sound while the game waits
void WaitTurn(uint32_t microsecondsLeft);

}  // namespace korvane::platform
