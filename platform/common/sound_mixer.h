#pragma once
// Software mixing shared by the backends: PCM decoding, decibel gains, and
// adding one voice into a stereo float mix at any playback rate, from decoded
// frames or straight from a buffer's own PCM bytes.
#include <cstdint>
#include <vector>

#include "platform/sound_device.h"

namespace korvane::platform {

// Positions and steps count source frames in 32.32 fixed point.
inline constexpr int kMixFractionBits = 32;

// One playing sound as the mixer sees it.
struct MixVoice {
    const float* frames = nullptr;  // interleaved stereo
    uint32_t frameCount = 0;
    uint64_t position = 0;  // the next source frame, 32.32
    uint64_t step = uint64_t{1} << kMixFractionBits;
    float gainLeft = 1.0F;
    float gainRight = 1.0F;
    bool looping = false;
};

// One playing sound read from its own PCM bytes, converted and resampled as
// it is mixed, so a buffer never needs a second copy in the mix's format.
struct PcmVoice {
    const uint8_t* bytes = nullptr;  // interleaved, in the format below
    uint16_t channels = 1;           // 1 or 2
    uint16_t bitsPerSample = 16;     // 8 (unsigned) or 16 (signed)
    uint32_t frameCount = 0;
    uint64_t position = 0;  // the next source frame, 32.32
    uint64_t step = uint64_t{1} << kMixFractionBits;
    float gainLeft = 1.0F;
    float gainRight = 1.0F;
    bool looping = false;
};

// Adds `outFrames` frames of the voice, linearly interpolated, into `out`
// (interleaved stereo) and moves its position on. A once-played voice that
// reaches its end adds nothing more; the answer is then false and its
// position is frameCount.
bool MixVoiceInto(MixVoice& voice, float* out, uint32_t outFrames);
bool MixVoiceInto(PcmVoice& voice, float* out, uint32_t outFrames);

// The step that plays `sourceRate` frames per second on an output running at
// `outputRate`.
uint64_t MixStep(uint32_t sourceRate, uint32_t outputRate);

// Amplitude factor of an attenuation in hundredths of a decibel; exactly 0 at
// kVolumeSilent and below.
float DecibelGain(int32_t hundredths);

// The two channel gains of a volume and a pan, both in hundredths of a
// decibel: a pan to the left takes its amount off the right side and back.
void StereoGains(int32_t volume, int32_t pan, float* left, float* right);

// Interleaved stereo floats (-1 to 1) from PCM as a buffer holds it; mono is
// copied to both sides, a trailing part frame is dropped.
void DecodePcmToStereo(const uint8_t* bytes, uint32_t byteCount, const SoundFormat& format,
                       std::vector<float>* out);

}  // namespace korvane::platform
