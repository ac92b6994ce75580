#include <algorithm>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"

namespace korvane {
namespace {

constexpr uint64_t kNsPerSecond = 1'000'000'000;
constexpr uint64_t kNsPerMs = 1'000'000;
constexpr uint64_t kDefaultReadStepNs = 100'000;
constexpr uint64_t kDefaultFrequency = 10'000'000;

struct VirtualClock {
    uint64_t nowNs = 0;
    uint64_t readStepNs = kDefaultReadStepNs;
    uint64_t frequency = kDefaultFrequency;
    uint64_t counterStart = 0;
    uint32_t timerStartMs = 0;
    uint64_t reads = 0;
    fake::WaitTurns turns;
};

struct TimedAction {
    uint64_t atNs;
    std::function<void()> action;
};

VirtualClock clock;
std::vector<TimedAction> timedActions;  // sorted by time, stable
bool runningActions = false;

void RunDueActions() {
    if (runningActions) {
        return;
    }
    runningActions = true;
    while (!timedActions.empty() && timedActions.front().atNs <= clock.nowNs) {
        auto action = std::move(timedActions.front().action);
        timedActions.erase(timedActions.begin());
        action();
    }
    runningActions = false;
}

// Counts elapsed since time zero; exact for any frequency below 2^32 and any
// virtual time below about 584 years.
uint64_t CountsAt(uint64_t ns) {
    const uint64_t seconds = ns / kNsPerSecond;
    const uint64_t rest = ns % kNsPerSecond;
    return seconds * clock.frequency + rest * clock.frequency / kNsPerSecond;
}

uint64_t TakeReading() {
    const uint64_t at = clock.nowNs;
    clock.nowNs += clock.readStepNs;
    ++clock.reads;
    RunDueActions();
    return at;
}

}  // namespace

namespace platform {

bool CounterFrequency(uint64_t* countsPerSecond) {
    if (clock.frequency == 0 || fake::StepFailure("clock.frequency") != 0) {
        return false;
    }
    *countsPerSecond = clock.frequency;
    return true;
}

uint64_t CounterValue() {
    return clock.counterStart + CountsAt(TakeReading());
}

uint32_t TimerMs() {
    return clock.timerStartMs + static_cast<uint32_t>(TakeReading() / kNsPerMs);
}

void SleepMs(uint32_t ms) {
    clock.nowNs += static_cast<uint64_t>(ms) * kNsPerMs;
    RunDueActions();
}

// Virtual time moves only with the readings, so a turn takes none.
void WaitTurn(uint32_t microsecondsLeft) {
    ++clock.turns.count;
    clock.turns.lastMicrosecondsLeft = microsecondsLeft;
}

}  // namespace platform

namespace fake {

void SetCounterFrequency(uint64_t countsPerSecond) {
    clock.frequency = countsPerSecond;
}
void SetCounterStart(uint64_t value) {
    clock.counterStart = value;
}
void SetTimerStartMs(uint32_t ms) {
    clock.timerStartMs = ms;
}
void SetReadStepNs(uint64_t nanoseconds) {
    clock.readStepNs = nanoseconds;
}
void AdvanceNs(uint64_t nanoseconds) {
    clock.nowNs += nanoseconds;
    RunDueActions();
}

void AtVirtualTime(uint64_t atNs, std::function<void()> action) {
    auto after = std::upper_bound(
        timedActions.begin(), timedActions.end(), atNs,
        [](uint64_t at, const TimedAction& existing) { return at < existing.atNs; });
    timedActions.insert(after, TimedAction{atNs, std::move(action)});
}
uint64_t VirtualTimeNs() {
    return clock.nowNs;
}
uint64_t ClockReads() {
    return clock.reads;
}
WaitTurns WaitTurnsTaken() {
    return clock.turns;
}

namespace detail {
void ResetClock() {
    clock = VirtualClock{};
    timedActions.clear();
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
