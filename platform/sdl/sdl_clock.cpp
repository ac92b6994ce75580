#include <SDL.h>

#include <algorithm>

#include "platform/clock.h"
#include "platform/sdl/sdl_shared.h"

namespace korvane::platform {
namespace {
// The game's clock runs at the 10 MHz that current desktop systems report,
// whatever SDL's own counter rate is.
constexpr uint64_t kCounterRate = 10'000'000;

void ServiceHost() {
    sdl::ServiceWindow();
    sdl::ServiceSound();
}
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
    // Slept in short pieces, so the window still answers meanwhile.
    const uint64_t end = SDL_GetTicks64() + ms;
    for (uint64_t now = SDL_GetTicks64(); now < end; now = SDL_GetTicks64()) {
        SDL_Delay(static_cast<Uint32>(std::min<uint64_t>(end - now, 20)));
        ServiceHost();
    }
}

// The game spins on the clock inside its frames and through its pauses: the
// window and the sound device get their turn between two readings (and
// between frames at the message peek, sdl_window.cpp). Each service looks at
// the host only every so often, so the spin stays tight and the wait still
// ends at the first reading past its limit.
void WaitTurn(uint32_t /*microsecondsLeft*/) {
    ServiceHost();
}

}  // namespace korvane::platform
