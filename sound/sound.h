#pragma once
// Sound slots: sixteen numbered places for loaded sounds.
#include <cstdint>

namespace korvane {

// 0 to 15 names a sound slot; -1 is a failed load. Every operation treats a
// value outside 0 to 15 as an empty slot.
using SoundId = int32_t;

inline constexpr uint32_t kPlayOnce = 0;
inline constexpr uint32_t kPlayLooping = 1;

// Rewinds the slot's sound and plays it; 1 when it plays, 0 for an empty slot
// or when the device refuses.
int SoundPlay(SoundId id, uint32_t flags);

}  // namespace korvane
