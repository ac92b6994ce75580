#pragma once
// Game controllers, played as the keyboard: their pad, left stick and
// buttons set the same snapshot bytes as the keys they stand for, so the
// game cannot tell them apart.
#include <cstdint>

namespace korvane::platform::sdl {

// Starts SDL's game-controller support. Without it (false) the keyboard
// plays alone.
bool StartControllers();

// Opens the controllers plugged in since the last call, forgets those
// unplugged, and marks 0x80 in the 256-byte keyboard snapshot for every key
// that a held control of any open controller stands for:
//   pad or left stick: the arrows (0xC8 up, 0xD0 down, 0xCB left, 0xCD right)
//   A: Up (turn)   B: Escape and B (back, in play and in the file menu)
//   Start: N   X: R   Y: G   Back: E
// Keys already down stay down. Does nothing before StartControllers.
void AddControllerKeys(uint8_t* snapshot);

// Closes every open controller.
void StopControllers();

}  // namespace korvane::platform::sdl
