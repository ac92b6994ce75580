#pragma once
// The keyboard and mouse as the game reads them: whole snapshots on request.
#include <cstdint>

namespace korvane {

// One byte per keyboard scan code, non-zero while the key is down. Only
// InputReadKeyboard writes it.
extern uint8_t KeyState[256];

// Relative movement since the last read and one byte per button.
struct MouseSnapshot {
    int32_t x;
    int32_t y;
    int32_t z;
    uint8_t buttons[4];
};
extern MouseSnapshot MouseState;

// Opens the input system, then the keyboard, then the mouse, each set up and
// acquired; 1, or 0 after its one message box.
int InputInit();
// Releases the mouse, the keyboard and the system, whatever of them exists.
int InputShutdown();
// 1 when KeyState holds a fresh snapshot. A keyboard found lost is acquired
// again and read once more. Without a keyboard, or with one that stays lost,
// it clears KeyState; any other failed read leaves KeyState as the platform
// left it.
int InputReadKeyboard();
// The same for the mouse and MouseState, which a lost mouse leaves alone.
int InputReadMouse();

// Whether the key's byte in the latest snapshot is non-zero.
bool KeyDown(uint8_t scanCode);

// Empty snapshots and no devices, as at program start; devices still held are
// forgotten, not released: for after InputShutdown, or once the machine that
// made them has gone.
void ResetInputState();

}  // namespace korvane
