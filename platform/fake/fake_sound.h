#pragma once
// The fake sound device's controls: what its buffers hold and do, and what
// their mix would sound like. Plays, stops, rewinds and status queries are
// recorded in fake::SoundCalls (fake_platform.h).
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/common/timed_sound.h"
#include "platform/sound_device.h"

namespace korvane::fake {

// One live buffer, as it stands at the current virtual time: a once-played
// buffer has stopped (and rewound) when its length has passed since it was
// started, a looping one plays on.
using SoundBufferState = platform::TimedSoundState;

bool SoundDeviceIsOpen();
// The newest live buffer created for `slot`, if any.
std::optional<SoundBufferState> InspectSoundBuffer(int slot);
int LiveSoundBuffers();

// Where new buffers' write position stands (default 0, the start), so that a
// lock from the write position comes back in two regions.
void SetNewSoundBufferWritePosition(uint32_t bytes);

// What would be heard from the current virtual time on: `frames` frames of
// interleaved stereo at `outputRate`, every playing buffer mixed with its
// volume, pan and rate, clamped to -1..1. Changes nothing.
std::vector<float> MixSound(uint32_t outputRate, uint32_t frames);

}  // namespace korvane::fake
