#pragma once
// Reading PCM frames as the mixer wants them: stereo floats from -1 to 1,
// straight from a buffer's own bytes, whatever its sample size and channels.
#include <cstdint>
#include <cstring>

namespace korvane::platform {

// One sample: unsigned 8-bit, or signed little-endian 16-bit.
template <int Bits>
float PcmSample(const uint8_t* at) {
    if constexpr (Bits == 8) {
        return (static_cast<float>(at[0]) - 128.0F) / 128.0F;
    } else {
        const auto value = static_cast<int16_t>(static_cast<uint16_t>(at[0] | at[1] << 8));
        return static_cast<float>(value) / 32768.0F;
    }
}

// Frame `index` of interleaved PCM as left and right; mono goes to both sides.
template <int Bits, int Channels>
struct PcmFrames {
    static constexpr size_t kFrameBytes = static_cast<size_t>(Bits / 8 * Channels);
    const uint8_t* bytes;

    void Frame(size_t index, float* left, float* right) const {
        const uint8_t* at = bytes + index * kFrameBytes;
        *left = PcmSample<Bits>(at);
        *right = Channels == 2 ? PcmSample<Bits>(at + Bits / 8) : *left;
    }
};

// Frames already decoded to interleaved stereo floats.
struct FloatFrames {
    const float* frames;

    void Frame(size_t index, float* left, float* right) const {
        *left = frames[2 * index];
        *right = frames[2 * index + 1];
    }
};

}  // namespace korvane::platform
