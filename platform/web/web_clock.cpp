// The browser backend's time: performance.now() as both the counter and the
// millisecond timer, and the turns the page gets while the game waits.
#include <emscripten.h>

#include "platform/clock.h"
#include "platform/common/coarse_clock.h"
#include "platform/web/web_shared.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(double, korvane_web_now_ms, (), { return performance.now(); });

// Hands the thread back to the page: for `ms` milliseconds on a timer, or
// (0) just until the page's next task.
EM_JS(void, korvane_web_give_turn, (int ms), {
    Asyncify.handleSleep(function(wakeUp) {
        if (ms > 0) {
            setTimeout(wakeUp, ms);
        } else {
            KorvaneWeb.yieldNow(wakeUp);
        }
    });
});
// NOLINTEND

// The game's clock runs at the 10 MHz that current desktop systems report.
constexpr uint64_t kCounterRate = 10'000'000;

// A page's timers are held to 4 ms once they follow one another, and a busy
// machine may run them late: a timer is asked for only while this much more
// than that is left, and the rest of the wait passes in turns that come
// straight back, but for its very end, which is spun through, so that a turn
// the page takes long over cannot carry the wait past its limit.
constexpr uint32_t kTimerMarginUs = 8'000;
constexpr uint32_t kTimerFloorMs = 4;
constexpr uint32_t kSpinUs = 1'500;

// Where the page's clock moves in whole milliseconds, the counter is placed
// inside them, so that a 40 ms frame lasts 40 ms and not 41.
korvane::platform::CoarseClock counterClock;

}  // namespace

namespace korvane::platform {

double web::PageNowMs() {
    return korvane_web_now_ms();
}

bool CounterFrequency(uint64_t* countsPerSecond) {
    *countsPerSecond = kCounterRate;
    return true;
}

uint64_t CounterValue() {
    return static_cast<uint64_t>(counterClock.Place(web::PageNowMs()) * (kCounterRate / 1000));
}

uint32_t TimerMs() {
    return static_cast<uint32_t>(static_cast<uint64_t>(web::PageNowMs()));
}

void SleepMs(uint32_t ms) {
    korvane_web_give_turn(ms > 0 ? static_cast<int>(ms) : 0);
    counterClock.Interrupted();
}

// The page paints, takes keys and plays sound only when the code running in
// it returns to its event loop, and the game's waits never return: the turns
// of a wait give it the thread. A long wait sleeps on a timer for all but
// the last few milliseconds, so the page is not kept busy, and the wait
// still ends at its first reading past the limit.
void WaitTurn(uint32_t microsecondsLeft) {
    if (microsecondsLeft >= kTimerMarginUs + kTimerFloorMs * 1000) {
        korvane_web_give_turn(static_cast<int>((microsecondsLeft - kTimerMarginUs) / 1000));
        counterClock.Interrupted();
    } else if (microsecondsLeft >= kSpinUs) {
        korvane_web_give_turn(0);
        counterClock.Interrupted();
    }
}

}  // namespace korvane::platform
