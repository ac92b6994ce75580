#include "platform/common/sound_mixer.h"

#include <cmath>

#include "platform/common/pcm_frames.h"

namespace korvane::platform {
namespace {

constexpr float kFractionScale = 1.0F / 4294967296.0F;  // 2^-32
constexpr uint64_t kFractionMask = (uint64_t{1} << kMixFractionBits) - 1;

// The one mixing loop, for every kind of source: `Voice` carries the
// position, step, gains and loop flag, `Frames` reads one source frame.
template <typename Voice, typename Frames>
bool MixFrames(Voice& voice, const Frames& frames, float* out, uint32_t outFrames) {
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
    const size_t last = voice.frameCount - 1;
    uint64_t position = voice.position;
    for (uint32_t n = 0; n < outFrames; ++n) {
        const auto index = static_cast<size_t>(position >> kMixFractionBits);
        // The last frame leads into the first one of a loop, and into itself
        // (no change) at the end of a once-played sound.
        const size_t next = index < last ? index + 1 : (voice.looping ? 0 : index);
        const float t = static_cast<float>(position & kFractionMask) * kFractionScale;
        float left = 0.0F;
        float right = 0.0F;
        float nextLeft = 0.0F;
        float nextRight = 0.0F;
        frames.Frame(index, &left, &right);
        frames.Frame(next, &nextLeft, &nextRight);
        out[2 * static_cast<size_t>(n)] += (left + (nextLeft - left) * t) * voice.gainLeft;
        out[2 * static_cast<size_t>(n) + 1] += (right + (nextRight - right) * t) * voice.gainRight;
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

}  // namespace

bool MixVoiceInto(MixVoice& voice, float* out, uint32_t outFrames) {
    return MixFrames(voice, FloatFrames{voice.frames}, out, outFrames);
}

bool MixVoiceInto(PcmVoice& voice, float* out, uint32_t outFrames) {
    // The format is chosen once a call, so the loop reads each kind directly.
    const bool stereo = voice.channels == 2;
    if (voice.bitsPerSample == 8) {
        return stereo ? MixFrames(voice, PcmFrames<8, 2>{voice.bytes}, out, outFrames)
                      : MixFrames(voice, PcmFrames<8, 1>{voice.bytes}, out, outFrames);
    }
    return stereo ? MixFrames(voice, PcmFrames<16, 2>{voice.bytes}, out, outFrames)
                  : MixFrames(voice, PcmFrames<16, 1>{voice.bytes}, out, outFrames);
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
        const bool eight = format.bitsPerSample == 8;
        const float left = eight ? PcmSample<8>(frame) : PcmSample<16>(frame);
        const float right = format.channels < 2 ? left
                            : eight             ? PcmSample<8>(frame + 1)
                                                : PcmSample<16>(frame + 2);
        out->push_back(left);
        out->push_back(right);
    }
}

}  // namespace korvane::platform
