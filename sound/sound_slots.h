#pragma once
// The slot table and the device, shared by the sound subsystem's own files.
#include <array>
#include <cstdint>

#include "platform/sound_device.h"
#include "sound/sound.h"

namespace korvane::detail {

struct SoundSlot {
    platform::SoundBuffer buffer;  // none: the slot holds no sound
    int32_t inUse = 0;             // the only field the loader's search looks at
    uint32_t sampleRate = 0;       // recorded at load, never read back by the game
    uint32_t dataSize = 0;
};

struct SoundState {
    bool deviceOpen = false;
    std::array<SoundSlot, kSoundSlots> slots;
};

extern SoundState sound;

// The slot named by `id`, or null for an id outside 0 to 15.
SoundSlot* SlotOf(SoundId id);

// The buffer of the slot named by `id`, or null for an empty slot.
platform::SoundBufferData* BufferOf(SoundId id);

// Stops and rewinds a slot's buffer, results ignored; no trace.
void StopSlot(SoundId id);

}  // namespace korvane::detail
