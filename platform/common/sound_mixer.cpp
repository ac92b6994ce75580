#include "platform/common/sound_mixer.h"

#include <cmath>

namespace korvane::platform {
namespace {

constexpr float kFractionScale = 1.0F / 4294967296.0F;  // 2^-32
constexpr uint64_t kFractionMask = (uint64_t{1} << kMixFractionBits) - 1;

float DecodeSample(const uint8_t* at, uint16_t bitsPerSample) {
    if (bitsPerSample == 8) {
        return (static_cast<float>(at[0]) - 128.0F) / 128.0F;
    }
    const auto value = static_cast<int16_t>(static_cast<uint16_t>(at[0] | at[1] << 8));
    return static_cast<float>(value) / 32768.0F;
}

}  // namespace

bool MixVoiceInto(MixVoice& voice, float* out, uint32_t outFrames) {
    const uint64_t end = static_cast<uint64_t>(voice.frameCount) << kMixFractionBits;
    if (voice.frameCount == 0) {
        return false;
    }
    if (voice.position >= end) {
        if (!voice.looping) {
            voice.position = end;
            return false;
        }
        voice.position %= end;
    }
    const float* frames = voice.frames;
    const size_t last = voice.frameCount - 1;
    uint64_t position = voice.position;
    for (uint32_t n = 0; n < outFrames; ++n) {
        const auto index = static_cast<size_t>(position >> kMixFractionBits);
        // The last frame leads into the first one of a loop, and into itself
        // (no change) at the end of a once-played sound.
        const size_t next = index < last ? index + 1 : (voice.looping ? 0 : index);
        const float t = static_cast<float>(position & kFractionMask) * kFractionScale;
        const float left = frames[2 * index] + (frames[2 * next] - frames[2 * index]) * t;
        const float right =
            frames[2 * index + 1] + (frames[2 * next + 1] - frames[2 * index + 1]) * t;
        out[2 * static_cast<size_t>(n)] += left * voice.gainLeft;
        out[2 * static_cast<size_t>(n) + 1] += right * voice.gainRight;
        position += voice.step;
        if (position >= end) {
            if (!voice.looping) {
                voice.position = end;
                return false;
            }
            position %= end;
        }
    }
    voice.position = position;
    return true;
}

uint64_t MixStep(uint32_t sourceRate, uint32_t outputRate) {
    if (outputRate == 0) {
        return 0;
    }
    return (static_cast<uint64_t>(sourceRate) << kMixFractionBits) / outputRate;
}

float DecibelGain(int32_t hundredths) {
    if (hundredths <= kVolumeSilent) {
        return 0.0F;
    }
    if (hundredths >= 0) {
        return 1.0F;
    }
    return std::pow(10.0F, static_cast<float>(hundredths) / 2000.0F);
}

void StereoGains(int32_t volume, int32_t pan, float* left, float* right) {
    const float gain = DecibelGain(volume);
    *left = gain * (pan > 0 ? DecibelGain(-pan) : 1.0F);
    *right = gain * (pan < 0 ? DecibelGain(pan) : 1.0F);
}

void DecodePcmToStereo(const uint8_t* bytes, uint32_t byteCount, const SoundFormat& format,
                       std::vector<float>* out) {
    out->clear();
    const uint32_t sampleBytes = format.bitsPerSample / 8U;
    const uint32_t frameBytes = sampleBytes * format.channels;
    if (frameBytes == 0) {
        return;
    }
    const uint32_t frameCount = byteCount / frameBytes;
    out->reserve(static_cast<size_t>(frameCount) * 2);
    for (uint32_t i = 0; i < frameCount; ++i) {
        const uint8_t* frame = bytes + static_cast<size_t>(i) * frameBytes;
        const float left = DecodeSample(frame, format.bitsPerSample);
        const float right =
            format.channels > 1 ? DecodeSample(frame + sampleBytes, format.bitsPerSample) : left;
        out->push_back(left);
        out->push_back(right);
    }
}

}  // namespace korvane::platform
