#pragma once
// Game controllers through SDL, played as the keyboard by the shared map
// (platform/common/controller_map.h).
#include <cstdint>

namespace korvane::platform::sdl {

// Starts SDL's game-controller support. Without it (false) the keyboard
// plays alone.
bool StartControllers();

// Opens the controllers plugged in since the last call, forgets those
// unplugged, and marks in the 256-byte keyboard snapshot every key that a
// held control of any open controller stands for. Keys already down stay
// down. Does nothing before StartControllers.
void AddControllerKeys(uint8_t* snapshot);

// Closes every open controller.
void StopControllers();

}  // namespace korvane::platform::sdl
