// The seam's sound buffers over a clock and an audio output (timed_sound.h).
#include "platform/common/timed_sound.h"

#include <algorithm>
#include <cstdlib>

#include "platform/common/sound_buffer_rules.h"

namespace korvane::platform {
namespace {

constexpr uint64_t kNsPerSecond = 1'000'000'000;

struct TimedSoundDevice {
    bool open = false;
    uint32_t generation = 0;
    uint32_t newWritePosition = 0;
    std::list<SoundBufferData*> live;  // oldest first
};

TimedSoundDevice device;

uint32_t FrameBytes(const SoundBufferData& buffer) {
    return buffer.state.description.format.blockAlign;
}

uint32_t FrameCount(const SoundBufferData& buffer) {
    return buffer.state.description.bytes / FrameBytes(buffer);
}

// Starts counting play time afresh from the current position, after anything
// that changes where or how fast the buffer plays.
void Restart(SoundBufferData& buffer) {
    buffer.startedAtNs = SoundClockNs();
    buffer.startFrame = buffer.state.position / FrameBytes(buffer);
}

// Buffers the game still holds at exit are freed by its own static
// destructors, after this file's; from then on they leave no trace.
void SwitchOffAtExit() {
    static bool hooked = false;
    if (!hooked) {
        hooked = true;
        std::atexit([] { ++device.generation; });
    }
}

}  // namespace

void SettleSoundBuffer(SoundBufferData& buffer) {
    TimedSoundState& s = buffer.state;
    if (!s.playing) {
        return;
    }
    const uint64_t elapsedNs = SoundClockNs() - buffer.startedAtNs;
    const uint64_t played = elapsedNs / kNsPerSecond * s.frequency +
                            elapsedNs % kNsPerSecond * s.frequency / kNsPerSecond;
    const uint64_t frame = buffer.startFrame + played;
    const uint32_t frames = FrameCount(buffer);
    if (frame >= frames && !s.looping) {
        s.playing = false;
        s.position = 0;
        return;
    }
    s.position = static_cast<uint32_t>(frame % frames) * FrameBytes(buffer);
}

bool TimedSoundDeviceOpen() {
    return device.open;
}

const std::list<SoundBufferData*>& TimedSoundBuffers() {
    return device.live;
}

void SetTimedSoundNewWritePosition(uint32_t bytes) {
    device.newWritePosition = bytes;
}

void ForgetTimedSound() {
    device.open = false;
    ++device.generation;
    device.newWritePosition = 0;
    device.live.clear();
}

bool SoundDeviceOpen() {
    if (!SoundStepGoesAhead("sound.create")) {
        return false;
    }
    SwitchOffAtExit();
    device.open = true;
    SoundOutputEvent(SoundEvent::DeviceOpened, nullptr, 0);
    return true;
}

bool SoundDeviceAttachToWindow() {
    if (!SoundStepGoesAhead("sound.cooperate")) {
        return false;
    }
    SoundOutputEvent(SoundEvent::DeviceAttached, nullptr, 0);
    return true;
}

void SoundDeviceClose() {
    if (device.open) {
        device.open = false;
        SoundOutputEvent(SoundEvent::DeviceClosed, nullptr, 0);
    }
}

void SoundBufferReleaser::operator()(SoundBufferData* buffer) const {
    if (buffer->generation == device.generation) {
        SoundOutputEvent(SoundEvent::Released, buffer, 0);
        device.live.remove(buffer);
    }
    std::default_delete<SoundBufferData>()(buffer);
}

SoundBuffer SoundBufferCreate(const SoundBufferDescription& description, int slot) {
    if (!SoundStepGoesAhead("sound.buffer") || !device.open ||
        !SoundBufferDescriptionSupported(description)) {
        return nullptr;
    }
    SoundBuffer buffer(new SoundBufferData);
    TimedSoundState& s = buffer->state;
    s.slot = slot;
    s.description = description;
    s.bytes.assign(description.bytes, 0);
    s.frequency = description.format.samplesPerSecond;
    buffer->generation = device.generation;
    s.position = std::min(
        device.newWritePosition / description.format.blockAlign * description.format.blockAlign,
        description.bytes - description.format.blockAlign);
    device.live.push_back(buffer.get());
    SoundOutputEvent(SoundEvent::Created, buffer.get(), 0);
    return buffer;
}

bool SoundBufferLock(SoundBufferData& buffer, uint32_t offset, uint32_t bytes,
                     bool fromWritePosition, SoundRegions* regions) {
    SettleSoundBuffer(buffer);
    std::vector<uint8_t>& memory = buffer.state.bytes;
    const auto size = static_cast<uint32_t>(memory.size());
    const uint32_t start = fromWritePosition ? buffer.state.position : offset;
    return SoundStepGoesAhead("sound.lock") &&
           LockRegions(memory.data(), size, start, bytes, regions);
}

bool SoundBufferUnlock(SoundBufferData& buffer, const SoundRegions& regions) {
    if (!SoundStepGoesAhead("sound.unlock") ||
        !RegionsInside(buffer.state.bytes.data(), static_cast<uint32_t>(buffer.state.bytes.size()),
                       regions)) {
        return false;
    }
    SoundOutputEvent(SoundEvent::SamplesChanged, &buffer, 0);
    return true;
}

bool SoundBufferSetPosition(SoundBufferData& buffer, uint32_t byteOffset) {
    if (!SoundStepGoesAhead("sound.position") || byteOffset >= buffer.state.bytes.size()) {
        return false;
    }
    SettleSoundBuffer(buffer);
    buffer.state.position = byteOffset / FrameBytes(buffer) * FrameBytes(buffer);
    Restart(buffer);
    SoundOutputEvent(SoundEvent::Positioned, &buffer, byteOffset);
    return true;
}

bool SoundBufferPlay(SoundBufferData& buffer, uint32_t flags) {
    if (!SoundStepGoesAhead("sound.play")) {
        return false;
    }
    SettleSoundBuffer(buffer);
    buffer.state.playing = true;
    buffer.state.looping = (flags & kPlayLoopingFlag) != 0;
    Restart(buffer);
    SoundOutputEvent(SoundEvent::Started, &buffer, flags);
    return true;
}

bool SoundBufferStop(SoundBufferData& buffer) {
    if (!SoundStepGoesAhead("sound.stop")) {
        return false;
    }
    SettleSoundBuffer(buffer);
    buffer.state.playing = false;
    SoundOutputEvent(SoundEvent::Stopped, &buffer, 0);
    return true;
}

bool SoundBufferStatus(SoundBufferData& buffer, uint32_t* status) {
    if (!SoundStepGoesAhead("sound.status")) {
        return false;
    }
    SettleSoundBuffer(buffer);
    const TimedSoundState& s = buffer.state;
    *status = StatusWord(s.playing, s.looping);
    SoundOutputEvent(SoundEvent::StatusRead, &buffer, *status);
    return true;
}

bool SoundBufferSetVolume(SoundBufferData& buffer, int32_t hundredthsOfDecibel) {
    if (!SoundStepGoesAhead("sound.volume") ||
        !VolumeAccepted(buffer.state.description.flags, hundredthsOfDecibel)) {
        return false;
    }
    buffer.state.volume = hundredthsOfDecibel;
    SoundOutputEvent(SoundEvent::GainsChanged, &buffer, 0);
    return true;
}

bool SoundBufferSetFrequency(SoundBufferData& buffer, uint32_t samplesPerSecond) {
    if (!SoundStepGoesAhead("sound.frequency") ||
        !FrequencyAccepted(buffer.state.description.flags, samplesPerSecond)) {
        return false;
    }
    SettleSoundBuffer(buffer);
    buffer.state.frequency = samplesPerSecond == kFrequencyOriginal
                                 ? buffer.state.description.format.samplesPerSecond
                                 : samplesPerSecond;
    Restart(buffer);
    SoundOutputEvent(SoundEvent::RateChanged, &buffer, 0);
    return true;
}

bool SoundBufferSetPan(SoundBufferData& buffer, int32_t pan) {
    if (!SoundStepGoesAhead("sound.pan") || !PanAccepted(buffer.state.description.flags, pan)) {
        return false;
    }
    buffer.state.pan = pan;
    SoundOutputEvent(SoundEvent::GainsChanged, &buffer, 0);
    return true;
}

}  // namespace korvane::platform
