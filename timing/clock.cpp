#include "timing/clock.h"

#include "platform/clock.h"

namespace korvane {
namespace {

uint8_t useCounter = 0;
uint32_t counterFrequency = 0;
uint32_t ticksPerMs = 0;

ClockStamp RawNow() {
    if (useCounter != 0) {
        return platform::CounterValue();
    }
    return platform::TimerMs();
}

// The whole 64-bit count is kept, so a wait ends as soon as its limit has
// passed however long the program was stopped in the middle of it. The
// millisecond timer wraps at 2^32, and its elapsed value is taken modulo that.
uint64_t ElapsedSince(ClockStamp stamp) {
    if (useCounter != 0) {
        return RawNow() - stamp;
    }
    return static_cast<uint32_t>(RawNow() - stamp);
}

}  // namespace

int InitClock() {
    uint64_t frequency = 0;
    if (!platform::CounterFrequency(&frequency)) {
        useCounter = 0;
        return 1;
    }
    counterFrequency = static_cast<uint32_t>(frequency);
    ticksPerMs = counterFrequency / 1000;
    // A counter slower than 1 kHz cannot give milliseconds; the timer can.
    useCounter = ticksPerMs != 0 ? 1 : 0;
    return 1;
}

void ResetClock() {
    useCounter = 0;
    counterFrequency = 0;
    ticksPerMs = 0;
}

int FrameStart(ClockStamp* stamp) {
    *stamp = RawNow();
    return 1;
}

uint32_t WaitSince(ClockStamp stamp, uint32_t ms) {
    if (useCounter != 0) {
        // Deliberate: 1000 / ms truncates, so 30 ms lasts frequency / 33 counts.
        const uint64_t limit = counterFrequency / (1000 / ms);
        for (;;) {
            const uint64_t elapsed = ElapsedSince(stamp);
            if (elapsed > limit) {
                return static_cast<uint32_t>(elapsed / ticksPerMs);
            }
            // The wait ends at the reading one count past the limit.
            platform::WaitTurn(
                static_cast<uint32_t>((limit - elapsed + 1) * 1'000'000 / counterFrequency));
        }
    }
    for (;;) {
        const uint64_t elapsed = ElapsedSince(stamp);
        if (elapsed > ms) {
            return static_cast<uint32_t>(elapsed);
        }
        platform::WaitTurn(static_cast<uint32_t>((ms - elapsed + 1) * 1000));
    }
}

uint32_t NowMs() {
    if (useCounter != 0) {
        // The whole 64-bit count is divided, so this reading wraps only at
        // 2^32 ms like the millisecond timer, never falling back to 0 when
        // the counter's low 32 bits wrap.
        return static_cast<uint32_t>(platform::CounterValue() / ticksPerMs);
    }
    return platform::TimerMs();
}

int Delay(uint32_t ms) {
    ClockStamp start = 0;
    FrameStart(&start);
    WaitSince(start, ms);
    return 1;
}

}  // namespace korvane
