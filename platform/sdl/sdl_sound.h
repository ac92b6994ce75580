#pragma once
// The SDL sound device's own handles, for its tests and its benchmark.
#include <cstdint>

namespace korvane::platform::sdl {

// Mixes `frames` stereo frames of everything playing into `out` (cleared
// first), exactly as the device's callback does, and moves the sounds on.
// Holds the device lock while it runs.
void MixPlayingSounds(float* out, uint32_t frames);

// Stops or restarts the device's own callback, so that a test can be the
// only one mixing.
void PauseSoundDevice(bool paused);

// How often the device's callback has run since the program started.
uint64_t SoundCallbacks();

// The device's rate in frames per second; 0 while it is closed.
uint32_t SoundDeviceRate();

}  // namespace korvane::platform::sdl
