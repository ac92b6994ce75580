// The Windows backend's time: the performance counter, the multimedia timer
// and Sleep.
#include <windows.h>

// mmsystem.h needs the types windows.h defines.
#include <mmsystem.h>

#include "platform/clock.h"

namespace korvane::platform {

bool CounterFrequency(uint64_t* countsPerSecond) {
    LARGE_INTEGER frequency{};
    if (QueryPerformanceFrequency(&frequency) == 0 || frequency.QuadPart <= 0) {
        return false;
    }
    *countsPerSecond = static_cast<uint64_t>(frequency.QuadPart);
    return true;
}

uint64_t CounterValue() {
    LARGE_INTEGER value{};
    QueryPerformanceCounter(&value);
    return static_cast<uint64_t>(value.QuadPart);
}

uint32_t TimerMs() {
    return timeGetTime();
}

void SleepMs(uint32_t ms) {
    Sleep(ms);
}

// The game spins through its waits, as it was made to; the window's messages
// wait for the message loop.
void WaitTurn(uint32_t /*microsecondsLeft*/) {}

}  // namespace korvane::platform
