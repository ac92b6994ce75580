#include "platform/sound_device.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"

namespace korvane {
namespace {

SoundObserver observer = nullptr;

void Notify(const char* op, SoundId id, uint32_t flags) {
    if (observer != nullptr) {
        observer(op, id, flags);
    }
}

// What SoundStatus answers when the device cannot tell: not playing, so a
// looping sound is simply asked to start again.
constexpr uint32_t kStatusUnknown = 0;
constexpr uint32_t kStatusEmptySlot = 0xFFFFFFFF;

}  // namespace

void detail::StopSlot(SoundId id) {
    if (platform::SoundBufferData* buffer = BufferOf(id)) {
        platform::SoundBufferStop(*buffer);
        platform::SoundBufferSetPosition(*buffer, 0);
    }
}

void SetSoundObserver(SoundObserver newObserver) {
    observer = newObserver;
}

int SoundPlay(SoundId id, uint32_t flags) {
    Notify("play", id, flags);
    platform::SoundBufferData* buffer = detail::BufferOf(id);
    // Every start rewinds, so playing a sound that still plays restarts it.
    if (buffer == nullptr || !platform::SoundBufferSetPosition(*buffer, 0)) {
        return 0;
    }
    return platform::SoundBufferPlay(*buffer, flags) ? 1 : 0;
}

int SoundStop(SoundId id) {
    Notify("stop", id, 0);
    detail::StopSlot(id);
    return 1;
}

int SoundStopAll() {
    Notify("stopall", -1, 0);
    for (SoundId id = 0; id < kSoundSlots; ++id) {
        detail::StopSlot(id);
    }
    return 1;
}

uint32_t SoundStatus(SoundId id) {
    platform::SoundBufferData* buffer = detail::BufferOf(id);
    if (buffer == nullptr) {
        // Deliberate: every bit is set, bit 0 included, so a caller that
        // restarts a looping sound whenever bit 0 is clear leaves a sound that
        // failed to load alone.
        return kStatusEmptySlot;
    }
    uint32_t status = kStatusUnknown;
    if (!platform::SoundBufferStatus(*buffer, &status)) {
        return kStatusUnknown;
    }
    return status;
}

}  // namespace korvane
