#include "platform/sound_device.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"

namespace korvane {
namespace {
// 30 hundredths of a decibel per percent: 100 % is full volume, 0 % -30 dB.
constexpr int32_t kAttenuationPerPercent = -30;
}  // namespace

int SoundSetVolume(SoundId id, int32_t percent) {
    platform::SoundBufferData* buffer = detail::BufferOf(id);
    if (buffer == nullptr) {
        return 0;
    }
    // Deliberate: no range test here; the device refuses anything above full
    // volume (a percentage over 100) and below silence.
    const int64_t attenuation = (100 - static_cast<int64_t>(percent)) * kAttenuationPerPercent;
    if (attenuation < INT32_MIN || attenuation > INT32_MAX) {
        return 0;
    }
    return platform::SoundBufferSetVolume(*buffer, static_cast<int32_t>(attenuation)) ? 1 : 0;
}

int SoundSetFrequency(SoundId id, uint32_t samplesPerSecond) {
    platform::SoundBufferData* buffer = detail::BufferOf(id);
    return buffer != nullptr && platform::SoundBufferSetFrequency(*buffer, samplesPerSecond) ? 1
                                                                                             : 0;
}

int SoundSetPan(SoundId id, int32_t pan) {
    platform::SoundBufferData* buffer = detail::BufferOf(id);
    return buffer != nullptr && platform::SoundBufferSetPan(*buffer, pan) ? 1 : 0;
}

}  // namespace korvane
