#include <SDL.h>

#include "platform/clock.h"

namespace korvane::platform {
namespace {
// The game's clock runs at the 10 MHz that current desktop systems report,
// whatever SDL's own counter rate is.
constexpr uint64_t kCounterRate = 10'000'000;
}  // namespace

bool CounterFrequency(uint64_t* countsPerSecond) {
    *countsPerSecond = kCounterRate;
    return SDL_GetPerformanceFrequency() != 0;
}

uint64_t CounterValue() {
    const uint64_t raw = SDL_GetPerformanceCounter();
    const uint64_t rate = SDL_GetPerformanceFrequency();
    const uint64_t seconds = raw / rate;
    const uint64_t rest = raw % rate;
    return seconds * kCounterRate + rest * kCounterRate / rate;
}

uint32_t TimerMs() {
    return SDL_GetTicks();
}

void SleepMs(uint32_t ms) {
    SDL_Delay(ms);
}

}  // namespace korvane::platform
