#pragma once
// The sound device and its static buffers, one per sound slot.
#include <cstdint>

namespace korvane::platform {

// Starts the buffer held by sound slot `slot` (0 to 15) from its current
// position; `flags` bit 0 asks for looping. False when the device refuses.
bool SoundBufferPlay(int slot, uint32_t flags);

}  // namespace korvane::platform
