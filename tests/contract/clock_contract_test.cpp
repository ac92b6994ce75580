// The clock's promises: a counter rate the game can use or none at all,
// readings that never go back, a counter and a millisecond timer that measure
// the same time, sleeps that let time pass, and a busy wait that hands the
// host its turn between readings, each turn coming back. Only lower bounds on time are checked: a
// busy machine may make any interval longer, never shorter.
#include <cstdint>

#include "tests/contract/contract_fixture.h"

namespace korvane::contract {
namespace {

// The counter in whole milliseconds, or the timer when there is no counter.
class ClockTest : public ::testing::Test {
  protected:
    void SetUp() override { hasCounter_ = platform::CounterFrequency(&rate_); }

    uint64_t CounterMs() const { return platform::CounterValue() / (rate_ / 1000); }

    bool hasCounter_ = false;
    uint64_t rate_ = 0;
};

TEST_F(ClockTest, ACounterHasARateTheGameCanUseAndNeverGoesBack) {
    if (!hasCounter_) {
        GTEST_SKIP() << "no counter here: the game uses the millisecond timer";
    }
    EXPECT_GE(rate_, 1000U) << "at least a count a millisecond";
    EXPECT_LT(rate_, uint64_t{1} << 32) << "the game keeps the rate in 32 bits";
    uint64_t again = 0;
    ASSERT_TRUE(platform::CounterFrequency(&again));
    EXPECT_EQ(again, rate_) << "the rate never changes";

    uint64_t previous = platform::CounterValue();
    for (int i = 0; i < 10'000; ++i) {
        const uint64_t now = platform::CounterValue();
        ASSERT_GE(now, previous) << "reading " << i;
        previous = now;
    }
}

TEST_F(ClockTest, CounterAndTimerMeasureTheSameTimeAndSleepsLetItPass) {
    if (!hasCounter_) {
        GTEST_SKIP() << "no counter here";
    }
    // Each clock is read inside the other's interval on one side, so each
    // interval holds the other, give or take the timer's millisecond steps.
    const uint32_t timerBefore = platform::TimerMs();
    const uint64_t counterBefore = CounterMs();
    platform::SleepMs(50);
    const uint64_t counterAfter = CounterMs();
    const uint32_t timerAfter = platform::TimerMs();
    const uint32_t timerOuter = timerAfter - timerBefore;
    const uint64_t counterInner = counterAfter - counterBefore;
    EXPECT_GE(counterInner, 40U) << "a sleep of 50 ms let time pass";
    EXPECT_GE(timerOuter + 2, counterInner);

    const uint64_t counterStart = CounterMs();
    const uint32_t timerStart = platform::TimerMs();
    platform::SleepMs(50);
    const uint32_t timerEnd = platform::TimerMs();
    const uint64_t counterEnd = CounterMs();
    EXPECT_GE(counterEnd - counterStart + 2, uint64_t{timerEnd - timerStart});
    EXPECT_GE(timerEnd - timerStart, 40U);
}

TEST_F(ClockTest, TurnsInABusyWaitComeBackAndTheClockGoesOnThroughThem) {
    // As the game waits: read, and while the limit has not passed give the
    // backend its turn with the time left, down to nothing left at all. A
    // turn that never came back would hang here.
    const uint64_t perMs = hasCounter_ ? rate_ / 1000 : 1;
    auto since = [&](uint64_t stamp) -> uint64_t {
        if (hasCounter_) {
            return platform::CounterValue() - stamp;
        }
        return static_cast<uint32_t>(platform::TimerMs() - static_cast<uint32_t>(stamp));
    };
    for (const uint32_t ms : {1U, 30U, 40U}) {
        const uint64_t limit = ms * perMs;
        const uint64_t stamp = hasCounter_ ? platform::CounterValue() : platform::TimerMs();
        uint64_t elapsed = 0;
        for (;;) {
            const uint64_t reading = since(stamp);
            ASSERT_GE(reading, elapsed) << "a reading went back";
            elapsed = reading;
            if (elapsed > limit) {
                break;
            }
            platform::WaitTurn(static_cast<uint32_t>((limit - elapsed + 1) * 1000 / perMs));
        }
    }
    platform::WaitTurn(0);  // less than a microsecond left: back at once
}

}  // namespace
}  // namespace korvane::contract
