#pragma once
// The headless window: its messages come from a timeline in virtual time.
#include <cstdint>
#include <functional>
#include <string>

namespace korvane::fake {

// Puts a Destroy message (the user closing the window) on the queue when
// virtual time reaches `atNs`.
void ScheduleWindowClose(uint64_t atNs);
// Puts a Quit message with `exitCode` on the queue when virtual time reaches
// `atNs`, as the host would to end the program.
void ScheduleQuit(uint64_t atNs, int exitCode);
// Puts an ordinary message (a key or mouse event of the host) on the queue.
void PostOtherMessage(uintptr_t parameter);
// Whether the cursor is visible and the window shown.
bool CursorVisible();
bool WindowShown();
// Called with each message box's text as it is shown.
void SetMessageBoxObserver(std::function<void(const std::string&)> observer);

}  // namespace korvane::fake
