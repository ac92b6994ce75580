#pragma once
// Keys for the headless backend: pressed at once, or at a virtual time.
#include <cstdint>

namespace korvane::fake {

// Sets a key down (0x80 in the snapshot) or up now.
void SetKey(uint8_t scanCode, bool down);
// Sets a key down or up when virtual time reaches `atNs`; the keyboard
// snapshot taken at or after that time shows it.
void ScheduleKey(uint64_t atNs, uint8_t scanCode, bool down);
// Movement and buttons the next mouse read reports.
void SetMouse(int32_t dx, int32_t dy, uint8_t buttons);
// How many keyboard snapshots were taken since the last Reset.
int KeyboardReads();

// The keyboard is lost, as Windows loses it: every read answers lost until it
// is acquired again. Keys still go up and down meanwhile.
void LoseKeyboard();
// The keyboard is unplugged: lost, and it cannot be acquired until it is
// plugged in again.
void UnplugKeyboard();
void PlugKeyboard();

}  // namespace korvane::fake
