#include <algorithm>
#include <cstdlib>
#include <list>

#include "platform/common/sound_buffer_rules.h"
#include "platform/common/sound_mixer.h"
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_sound.h"
#include "platform/sound_device.h"

namespace korvane {

namespace platform {
struct SoundBufferData {
    fake::SoundBufferState state;
    uint32_t generation = 0;  // buffers from before the last fake::Reset are gone
    uint64_t startedAtNs = 0;
    uint32_t startFrame = 0;
};
}  // namespace platform

namespace {

constexpr uint64_t kNsPerSecond = 1'000'000'000;

struct FakeSoundDevice {
    bool open = false;
    uint32_t generation = 0;
    uint32_t newWritePosition = 0;
    std::list<platform::SoundBufferData*> live;  // oldest first
    std::vector<fake::SoundCall> calls;
};

FakeSoundDevice device;

std::string SlotSuffix(const platform::SoundBufferData& buffer) {
    return " slot=" + std::to_string(buffer.state.slot);
}

uint32_t FrameBytes(const platform::SoundBufferData& buffer) {
    return buffer.state.description.format.blockAlign;
}

uint32_t FrameCount(const platform::SoundBufferData& buffer) {
    return buffer.state.description.bytes / FrameBytes(buffer);
}

// Brings a playing buffer's position and state up to the current virtual time.
void Settle(platform::SoundBufferData& buffer) {
    fake::SoundBufferState& s = buffer.state;
    if (!s.playing) {
        return;
    }
    const uint64_t elapsedNs = fake::VirtualTimeNs() - buffer.startedAtNs;
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

// Starts counting play time afresh from the current position, after anything
// that changes where or how fast the buffer plays.
void Restart(platform::SoundBufferData& buffer) {
    buffer.startedAtNs = fake::VirtualTimeNs();
    buffer.startFrame = buffer.state.position / FrameBytes(buffer);
}

void Record(const char* op, const platform::SoundBufferData& buffer, uint32_t value) {
    fake::detail::AppendRecord(device.calls, fake::SoundCall{op, buffer.state.slot, value});
}

bool Fails(const char* step) {
    return fake::StepFailure(step) != 0;
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

namespace platform {

bool SoundDeviceOpen() {
    if (Fails("sound.create")) {
        return false;
    }
    SwitchOffAtExit();
    device.open = true;
    fake::Journal("sound.create");
    return true;
}

bool SoundDeviceAttachToWindow() {
    if (Fails("sound.cooperate")) {
        return false;
    }
    fake::Journal("sound.cooperate");
    return true;
}

void SoundDeviceClose() {
    if (device.open) {
        device.open = false;
        fake::Journal("sound.release");
    }
}

void SoundBufferReleaser::operator()(SoundBufferData* buffer) const {
    if (buffer->generation == device.generation) {
        fake::Journal("sound.release" + SlotSuffix(*buffer));
        device.live.remove(buffer);
    }
    std::default_delete<SoundBufferData>()(buffer);
}

SoundBuffer SoundBufferCreate(const SoundBufferDescription& description, int slot) {
    if (Fails("sound.buffer") || !device.open || !SoundBufferDescriptionSupported(description)) {
        return nullptr;
    }
    SoundBuffer buffer(new SoundBufferData);
    fake::SoundBufferState& s = buffer->state;
    s.slot = slot;
    s.description = description;
    s.bytes.assign(description.bytes, 0);
    s.frequency = description.format.samplesPerSecond;
    buffer->generation = device.generation;
    s.position = std::min(
        device.newWritePosition / description.format.blockAlign * description.format.blockAlign,
        description.bytes - description.format.blockAlign);
    device.live.push_back(buffer.get());
    fake::Journal("sound.buffer" + SlotSuffix(*buffer));
    return buffer;
}

bool SoundBufferLock(SoundBufferData& buffer, uint32_t offset, uint32_t bytes,
                     bool fromWritePosition, SoundRegions* regions) {
    Settle(buffer);
    std::vector<uint8_t>& memory = buffer.state.bytes;
    const auto size = static_cast<uint32_t>(memory.size());
    const uint32_t start = fromWritePosition ? buffer.state.position : offset;
    return !Fails("sound.lock") && LockRegions(memory.data(), size, start, bytes, regions);
}

bool SoundBufferUnlock(SoundBufferData& buffer, const SoundRegions& regions) {
    return !Fails("sound.unlock") &&
           RegionsInside(buffer.state.bytes.data(),
                         static_cast<uint32_t>(buffer.state.bytes.size()), regions);
}

bool SoundBufferSetPosition(SoundBufferData& buffer, uint32_t byteOffset) {
    if (Fails("sound.position") || byteOffset >= buffer.state.bytes.size()) {
        return false;
    }
    Settle(buffer);
    buffer.state.position = byteOffset / FrameBytes(buffer) * FrameBytes(buffer);
    Restart(buffer);
    Record("position", buffer, byteOffset);
    return true;
}

bool SoundBufferPlay(SoundBufferData& buffer, uint32_t flags) {
    if (Fails("sound.play")) {
        return false;
    }
    Settle(buffer);
    buffer.state.playing = true;
    buffer.state.looping = (flags & kPlayLoopingFlag) != 0;
    Restart(buffer);
    Record("play", buffer, flags);
    return true;
}

bool SoundBufferStop(SoundBufferData& buffer) {
    if (Fails("sound.stop")) {
        return false;
    }
    Settle(buffer);
    buffer.state.playing = false;
    Record("stop", buffer, 0);
    return true;
}

bool SoundBufferStatus(SoundBufferData& buffer, uint32_t* status) {
    if (Fails("sound.status")) {
        return false;
    }
    Settle(buffer);
    const fake::SoundBufferState& s = buffer.state;
    *status = StatusWord(s.playing, s.looping);
    Record("status", buffer, *status);
    return true;
}

bool SoundBufferSetVolume(SoundBufferData& buffer, int32_t hundredthsOfDecibel) {
    if (Fails("sound.volume") ||
        !VolumeAccepted(buffer.state.description.flags, hundredthsOfDecibel)) {
        return false;
    }
    buffer.state.volume = hundredthsOfDecibel;
    return true;
}

bool SoundBufferSetFrequency(SoundBufferData& buffer, uint32_t samplesPerSecond) {
    if (Fails("sound.frequency") ||
        !FrequencyAccepted(buffer.state.description.flags, samplesPerSecond)) {
        return false;
    }
    Settle(buffer);
    buffer.state.frequency = samplesPerSecond == kFrequencyOriginal
                                 ? buffer.state.description.format.samplesPerSecond
                                 : samplesPerSecond;
    Restart(buffer);
    return true;
}

bool SoundBufferSetPan(SoundBufferData& buffer, int32_t pan) {
    if (Fails("sound.pan") || !PanAccepted(buffer.state.description.flags, pan)) {
        return false;
    }
    buffer.state.pan = pan;
    return true;
}

}  // namespace platform

namespace fake {

const std::vector<SoundCall>& SoundCalls() {
    return device.calls;
}

void ClearSoundCalls() {
    device.calls.clear();
}

bool SoundDeviceIsOpen() {
    return device.open;
}

std::optional<SoundBufferState> InspectSoundBuffer(int slot) {
    for (auto it = device.live.rbegin(); it != device.live.rend(); ++it) {
        if ((*it)->state.slot == slot) {
            Settle(**it);
            return (*it)->state;
        }
    }
    return std::nullopt;
}

int LiveSoundBuffers() {
    return static_cast<int>(device.live.size());
}

void SetNewSoundBufferWritePosition(uint32_t bytes) {
    device.newWritePosition = bytes;
}

std::vector<float> MixSound(uint32_t outputRate, uint32_t frames) {
    std::vector<float> mix(static_cast<size_t>(frames) * 2, 0.0F);
    std::vector<float> decoded;
    for (platform::SoundBufferData* buffer : device.live) {
        Settle(*buffer);
        const SoundBufferState& s = buffer->state;
        if (!s.playing) {
            continue;
        }
        platform::DecodePcmToStereo(s.bytes.data(), static_cast<uint32_t>(s.bytes.size()),
                                    s.description.format, &decoded);
        platform::MixVoice voice;
        voice.frames = decoded.data();
        voice.frameCount = static_cast<uint32_t>(decoded.size() / 2);
        voice.position = static_cast<uint64_t>(s.position / FrameBytes(*buffer))
                         << platform::kMixFractionBits;
        voice.step = platform::MixStep(s.frequency, outputRate);
        voice.looping = s.looping;
        platform::StereoGains(s.volume, s.pan, &voice.gainLeft, &voice.gainRight);
        platform::MixVoiceInto(voice, mix.data(), frames);
    }
    for (float& sample : mix) {
        sample = std::clamp(sample, -1.0F, 1.0F);
    }
    return mix;
}

namespace detail {
void ResetSoundDevice() {
    // Buffers still held by the game belong to the machine before the reset:
    // they are forgotten here and released without a trace.
    device.open = false;
    ++device.generation;
    device.newWritePosition = 0;
    device.live.clear();
    device.calls.clear();
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
