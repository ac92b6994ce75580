#pragma once
// What the software-mixing backends accept of a sound buffer, written once:
// the limits of the volume, rate and pan calls, where a lock's regions lie,
// and the status word.
#include <algorithm>
#include <cstdint>

#include "platform/sound_device.h"

namespace korvane::platform {

inline bool VolumeAccepted(uint32_t bufferFlags, int32_t hundredthsOfDecibel) {
    return (bufferFlags & kBufferVolumeControl) != 0 && hundredthsOfDecibel >= kVolumeSilent &&
           hundredthsOfDecibel <= kVolumeFull;
}

inline bool FrequencyAccepted(uint32_t bufferFlags, uint32_t samplesPerSecond) {
    return (bufferFlags & kBufferFrequencyControl) != 0 &&
           (samplesPerSecond == kFrequencyOriginal ||
            (samplesPerSecond >= kFrequencyMin && samplesPerSecond <= kFrequencyMax));
}

inline bool PanAccepted(uint32_t bufferFlags, int32_t pan) {
    return (bufferFlags & kBufferPanControl) != 0 && pan >= kPanLeft && pan <= kPanRight;
}

// The regions of a lock of `bytes` bytes from `start` in `size` bytes of
// `memory`, wrapping round to the start; false when the range is empty,
// longer than the buffer or starts outside it.
inline bool LockRegions(uint8_t* memory, uint32_t size, uint32_t start, uint32_t bytes,
                        SoundRegions* regions) {
    if (bytes == 0 || bytes > size || start >= size) {
        return false;
    }
    const uint32_t firstBytes = std::min(bytes, size - start);
    *regions = SoundRegions{memory + start, firstBytes, firstBytes < bytes ? memory : nullptr,
                            bytes - firstBytes};
    return true;
}

// Whether both regions handed back by an unlock lie inside the buffer.
inline bool RegionsInside(const uint8_t* memory, uint32_t size, const SoundRegions& regions) {
    auto inside = [&](const uint8_t* at, uint32_t bytes) {
        return bytes == 0 || (at >= memory && at + bytes <= memory + size);
    };
    return inside(regions.first, regions.firstBytes) && inside(regions.second, regions.secondBytes);
}

inline uint32_t StatusWord(bool playing, bool looping) {
    return (playing ? kStatusPlayingBit : 0U) | (playing && looping ? kStatusLoopingBit : 0U);
}

}  // namespace korvane::platform
