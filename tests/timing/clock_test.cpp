// The clock: its limits for a slow counter, the multimedia timer path, the
// wrap of raw stamps, a wait the program was stopped in, and NowMs across the
// counter's 32-bit wrap.
#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "timing/clock.h"

namespace korvane {
namespace {

constexpr uint64_t kAcpiRate = 3'579'545;
constexpr uint64_t kStepNs = 100;  // a count lasts about 279 ns

class ClockTest : public ::testing::Test {
  protected:
    void SetUp() override { fake::Reset(); }
};

// Counter counts between two virtual times, as the fake counter runs.
uint64_t CountsBetween(uint64_t fromNs, uint64_t toNs) {
    auto at = [](uint64_t ns) {
        return (ns / 1'000'000'000) * kAcpiRate + (ns % 1'000'000'000) * kAcpiRate / 1'000'000'000;
    };
    return at(toNs) - at(fromNs);
}

TEST_F(ClockTest, SlowCounterLimitsAreTruncated) {
    fake::SetCounterFrequency(kAcpiRate);
    InitClock();
    fake::SetReadStepNs(kStepNs);  // several readings per count
    // Counts from the stamp's reading to the last reading of the wait, which
    // is the first one strictly above the limit.
    auto countsWaited = [](uint32_t ms) {
        ClockStamp stamp = 0;
        const uint64_t stampedAt = fake::VirtualTimeNs();
        FrameStart(&stamp);
        WaitSince(stamp, ms);
        return CountsBetween(stampedAt, fake::VirtualTimeNs() - kStepNs);
    };
    EXPECT_EQ(countsWaited(40), 143'181u + 1);
    EXPECT_EQ(countsWaited(30), 108'471u + 1);
    const uint64_t before = fake::VirtualTimeNs();
    Delay(500);
    EXPECT_EQ(CountsBetween(before, fake::VirtualTimeNs() - kStepNs), 1'789'772u + 1);
}

TEST_F(ClockTest, WaitReturnsElapsedMillisecondsTruncated) {
    fake::SetCounterFrequency(kAcpiRate);
    InitClock();
    fake::SetReadStepNs(1'000'000);  // 1 ms per read: about 3579 counts
    ClockStamp stamp = 0;
    FrameStart(&stamp);
    // Elapsed counts pass 143,181 on the 41st read: 41 ms of counts, / 3579.
    EXPECT_EQ(WaitSince(stamp, 40), 41u * kAcpiRate / 1000 / 3579);
}

TEST_F(ClockTest, MultimediaTimerWaitsStrictlyMoreThanN) {
    fake::SetCounterFrequency(0);
    InitClock();
    fake::SetReadStepNs(1'000'000);
    ClockStamp stamp = 0;
    FrameStart(&stamp);
    EXPECT_EQ(WaitSince(stamp, 40), 41u);

    // Already past: one reading and back.
    fake::SetTimerStartMs(5000);
    FrameStart(&stamp);
    fake::AdvanceNs(100'000'000);
    const uint64_t reads = fake::ClockReads();
    EXPECT_EQ(WaitSince(stamp, 40), 101u);
    EXPECT_EQ(fake::ClockReads(), reads + 1);
}

TEST_F(ClockTest, BetweenReadingsAWaitGivesTheBackendItsTurnWithTheTimeLeft) {
    fake::SetCounterFrequency(10'000'000);
    InitClock();
    fake::SetReadStepNs(1'000'000);
    ClockStamp stamp = 0;
    FrameStart(&stamp);  // at 0 ms; the wait reads at 1, 2, ... 41 ms
    uint32_t leftMidway = 0;
    fake::AtVirtualTime(20'500'000,
                        [&] { leftMidway = fake::WaitTurnsTaken().lastMicrosecondsLeft; });
    const uint64_t reads = fake::ClockReads();
    EXPECT_EQ(WaitSince(stamp, 40), 41u);
    const fake::WaitTurns counter = fake::WaitTurnsTaken();
    EXPECT_EQ(counter.count, fake::ClockReads() - reads - 1) << "none after the last reading";
    EXPECT_EQ(leftMidway, 21'000u) << "told after the reading at 19 ms";
    EXPECT_EQ(counter.lastMicrosecondsLeft, 0u) << "one count, a tenth of a microsecond, was left";

    fake::SetCounterFrequency(0);  // the timer: the wait ends a whole millisecond later
    InitClock();
    FrameStart(&stamp);
    EXPECT_EQ(WaitSince(stamp, 40), 41u);
    EXPECT_EQ(fake::WaitTurnsTaken().count, counter.count + 40);
    EXPECT_EQ(fake::WaitTurnsTaken().lastMicrosecondsLeft, 1000u);
}

TEST_F(ClockTest, MultimediaTimerIsUsedBeforeInitAndWhenTheCounterIsMissing) {
    fake::SetTimerStartMs(777);
    fake::SetReadStepNs(0);
    EXPECT_EQ(NowMs(), 777u) << "before InitClock";
    fake::FailStep("clock.frequency");
    InitClock();
    EXPECT_EQ(NowMs(), 777u);
}

TEST_F(ClockTest, CounterSlowerThanAMillisecondFallsBackToTheTimer) {
    fake::SetCounterFrequency(999);
    fake::SetTimerStartMs(42);
    fake::SetReadStepNs(0);
    InitClock();
    EXPECT_EQ(NowMs(), 42u);
}

TEST_F(ClockTest, RawStampsSurviveTheThirtyTwoBitWrap) {
    fake::SetCounterFrequency(10'000'000);
    fake::SetCounterStart(0xFFFFFFFFull - 200'000);  // wraps 20 ms into the wait
    InitClock();
    fake::SetReadStepNs(1'000'000);
    ClockStamp stamp = 0;
    FrameStart(&stamp);
    const uint64_t start = fake::VirtualTimeNs();
    EXPECT_EQ(WaitSince(stamp, 40), 41u);
    EXPECT_EQ(fake::VirtualTimeNs() - start, 41'000'000u);

    fake::SetCounterFrequency(0);  // and the timer's wrap
    fake::SetTimerStartMs(0xFFFFFFF0u);
    InitClock();
    FrameStart(&stamp);
    EXPECT_EQ(WaitSince(stamp, 40), 41u);
}

TEST_F(ClockTest, WaitEndsAtOnceAfterTheProgramWasStoppedInIt) {
    // 300 s at 10 MHz is past 2^31 counts; a 32-bit elapsed value would read
    // as negative and spin for another 130 s.
    fake::SetCounterFrequency(10'000'000);
    InitClock();
    fake::SetReadStepNs(1'000'000);
    ClockStamp stamp = 0;
    FrameStart(&stamp);
    fake::AdvanceNs(300'000'000'000ull);
    uint64_t reads = fake::ClockReads();
    EXPECT_EQ(WaitSince(stamp, 40), 300'001u);
    EXPECT_EQ(fake::ClockReads(), reads + 1);

    fake::SetCounterFrequency(0);  // the timer, stopped for 2^31 + 10 ms
    InitClock();
    FrameStart(&stamp);
    fake::AdvanceNs((0x80000000ull + 10) * 1'000'000);
    reads = fake::ClockReads();
    EXPECT_EQ(WaitSince(stamp, 40), 0x80000000u + 11);
    EXPECT_EQ(fake::ClockReads(), reads + 1);
}

TEST_F(ClockTest, NowMsDoesNotFallBackWhenTheCounterWraps) {
    fake::SetCounterFrequency(10'000'000);
    fake::SetReadStepNs(0);
    InitClock();
    fake::AdvanceNs(429'000'000'000ull);  // 429 s: the low 32 bits are near the wrap
    const uint32_t beforeWrap = NowMs();
    EXPECT_EQ(beforeWrap, 429'000u);
    // A game left before the low bits wrap and resumed after: time goes on.
    fake::AdvanceNs(10'000'000'000ull);
    const uint32_t afterWrap = NowMs();
    EXPECT_EQ(afterWrap, 439'000u);
    EXPECT_GT(afterWrap - 100, beforeWrap) << "the 100 ms input tick fires";
}

TEST_F(ClockTest, NowMsWrapsAtTwoToTheThirtyTwoMilliseconds) {
    fake::SetCounterFrequency(10'000'000);
    fake::SetCounterStart((0x100000000ull * 10'000) - 10'000 * 5);  // 5 ms before the wrap
    fake::SetReadStepNs(0);
    InitClock();
    EXPECT_EQ(NowMs(), 0xFFFFFFFBu);
    fake::AdvanceNs(10'000'000);
    EXPECT_EQ(NowMs(), 5u);
}

}  // namespace
}  // namespace korvane
