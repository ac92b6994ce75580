#include "sound/sound_slots.h"

#include "platform/window.h"

namespace korvane {

SoundId ThudSound = -1;
SoundId DropSound = -1;
SoundId RotateSound = -1;

void ResetSoundState() {
    ThudSound = -1;
    DropSound = -1;
    RotateSound = -1;
    detail::sound = detail::SoundState{};
}

namespace detail {

SoundState sound;

SoundSlot* SlotOf(SoundId id) {
    if (id < 0 || id >= kSoundSlots) {
        return nullptr;
    }
    return &sound.slots[static_cast<size_t>(id)];
}

platform::SoundBufferData* BufferOf(SoundId id) {
    SoundSlot* slot = SlotOf(id);
    return slot == nullptr ? nullptr : slot->buffer.get();
}

}  // namespace detail

using detail::sound;

int SoundInit() {
    // Any buffer left from an earlier run of the device goes with the table.
    sound.slots = {};
    if (!platform::SoundDeviceOpen()) {
        platform::ShowMessageBox("Unable to create Direct Sound Object.");
        return 0;
    }
    sound.deviceOpen = true;
    if (!platform::SoundDeviceAttachToWindow()) {
        // The device stays open; shut-down closes it.
        platform::ShowMessageBox("Unable to set cooperative level.");
        return 0;
    }
    return 1;
}

int SoundShutdown() {
    SoundReleaseAll();
    if (sound.deviceOpen) {
        platform::SoundDeviceClose();
        sound.deviceOpen = false;
    }
    return 1;
}

int SoundRelease(SoundId id) {
    detail::StopSlot(id);
    detail::SoundSlot* slot = detail::SlotOf(id);
    // Deliberate: a slot whose buffer could not be created holds no buffer and
    // so stays taken until the end of the run.
    if (slot != nullptr && slot->buffer) {
        slot->buffer.reset();
        slot->inUse = 0;
    }
    return 1;
}

int SoundReleaseAll() {
    for (SoundId id = 0; id < kSoundSlots; ++id) {
        SoundRelease(id);
    }
    return 1;
}

}  // namespace korvane
