#pragma once
// Control panel of the headless backend, for tests and korvane-replay: the
// virtual clock, in-memory files, injected failures and what the game asked
// of the platform (message boxes, sounds, the journal of platform calls).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::fake {

// Puts every part of the fake machine back as it is at process start: clock
// at zero, no files, no failures, empty records, every device closed.
void Reset();

// ---- Injected failures ----------------------------------------------------
// Every platform operation that can fail has a step name ("file.open",
// "alloc.board", ...). A failing step answers with `code` (non-zero); a
// backend may give the code a meaning (for instance a lost surface).
// onCall 0 makes every call fail, n > 0 only the n-th call (counted from 1,
// since the last Reset). A name that is no step throws std::invalid_argument,
// so a misspelt step cannot silently inject nothing.
void FailStep(std::string_view step, int code = 1, int onCall = 0);
// Whether `step` names a step that can be made to fail.
bool IsStepName(std::string_view step);
// Called by the backend at each step: the failure code to answer with, or 0.
// Also counts the call.
int StepFailure(std::string_view step);
// How many times a step has been attempted since the last Reset.
int StepCalls(std::string_view step);

// ---- Journal ----------------------------------------------------------------
// One line per platform call that creates, configures or releases something,
// in the order they happened ("display.create", "sound.release slot=3", ...).
void Journal(std::string line);
const std::vector<std::string>& JournalLines();

// ---- Virtual clock ----------------------------------------------------------
// Every read of the counter or the millisecond timer moves virtual time on by
// the read step (100 microseconds unless set); a sleep moves it by its length.
void SetCounterFrequency(uint64_t countsPerSecond);  // 0: the host has no counter
void SetCounterStart(uint64_t value);                // counter value at time zero
void SetTimerStartMs(uint32_t ms);                   // millisecond timer at time zero
void SetReadStepNs(uint64_t nanoseconds);
void AdvanceNs(uint64_t nanoseconds);
uint64_t VirtualTimeNs();
uint64_t ClockReads();  // reads of the counter and the timer since the last Reset
// The turns the game's waits have given the backend (platform::WaitTurn)
// since the last Reset, and the time left that the last one was told of.
struct WaitTurns {
    uint64_t count = 0;
    uint32_t lastMicrosecondsLeft = 0;
};
WaitTurns WaitTurnsTaken();
// Runs `action` once, as soon as virtual time reaches `atNs` (at the clock
// read or sleep that gets it there), so instruments can look at the machine
// in the middle of a wait. Actions due together run in the order given.
void AtVirtualTime(uint64_t atNs, std::function<void()> action);

// ---- Files ------------------------------------------------------------------
// A file that exists only in memory, under its game path ("Art\Main.kvp").
void AddFile(const std::string& gamePath, std::vector<uint8_t> bytes);
void RemoveFile(const std::string& gamePath);
// Files not held in memory are read from this host folder (default: the
// working directory).
void SetFileRoot(const std::string& hostFolder);

// ---- Window -----------------------------------------------------------------
// The texts of the message boxes shown, in order; each counts as dismissed.
const std::vector<std::string>& MessageBoxes();

// ---- Sound ------------------------------------------------------------------
// Calls on the sound buffers, in order: {"play", slot, play flags},
// {"stop", slot, 0}, {"position", slot, byte offset} and {"status", slot,
// status word}. More in fake_sound.h.
struct SoundCall {
    std::string op;
    int slot;
    uint32_t flags;
};
const std::vector<SoundCall>& SoundCalls();
void ClearSoundCalls();

}  // namespace korvane::fake
