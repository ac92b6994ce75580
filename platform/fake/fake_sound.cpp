// The headless sound device: the shared clocked buffers (timed_sound.h) on
// the virtual clock, with nothing heard. Device and buffer steps can be made
// to fail; creating and releasing are journalled, plays, stops, rewinds and
// status queries recorded.
#include <algorithm>
#include <string>

#include "platform/common/sound_mixer.h"
#include "platform/common/timed_sound.h"
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_sound.h"
#include "platform/sound_device.h"

namespace korvane {

namespace {

std::vector<fake::SoundCall> calls;

std::string SlotSuffix(const platform::SoundBufferData& buffer) {
    return " slot=" + std::to_string(buffer.state.slot);
}

void Record(const char* op, const platform::SoundBufferData& buffer, uint32_t value) {
    fake::detail::AppendRecord(calls, fake::SoundCall{op, buffer.state.slot, value});
}

}  // namespace

namespace platform {

bool SoundStepGoesAhead(const char* step) {
    return fake::StepFailure(step) == 0;
}

uint64_t SoundClockNs() {
    return fake::VirtualTimeNs();
}

void SoundOutputEvent(SoundEvent event, SoundBufferData* buffer, uint32_t value) {
    switch (event) {
        case SoundEvent::DeviceOpened:
            fake::Journal("sound.create");
            break;
        case SoundEvent::DeviceAttached:
            fake::Journal("sound.cooperate");
            break;
        case SoundEvent::DeviceClosed:
            fake::Journal("sound.release");
            break;
        case SoundEvent::Created:
            fake::Journal("sound.buffer" + SlotSuffix(*buffer));
            break;
        case SoundEvent::Released:
            fake::Journal("sound.release" + SlotSuffix(*buffer));
            break;
        case SoundEvent::Started:
            Record("play", *buffer, value);
            break;
        case SoundEvent::Stopped:
            Record("stop", *buffer, 0);
            break;
        case SoundEvent::Positioned:
            Record("position", *buffer, value);
            break;
        case SoundEvent::StatusRead:
            Record("status", *buffer, value);
            break;
        case SoundEvent::SamplesChanged:
        case SoundEvent::RateChanged:
        case SoundEvent::GainsChanged:
            break;  // nothing is heard
    }
}

}  // namespace platform

namespace fake {

const std::vector<SoundCall>& SoundCalls() {
    return calls;
}

void ClearSoundCalls() {
    calls.clear();
}

bool SoundDeviceIsOpen() {
    return platform::TimedSoundDeviceOpen();
}

std::optional<SoundBufferState> InspectSoundBuffer(int slot) {
    const auto& live = platform::TimedSoundBuffers();
    for (auto it = live.rbegin(); it != live.rend(); ++it) {
        if ((*it)->state.slot == slot) {
            platform::SettleSoundBuffer(**it);
            return (*it)->state;
        }
    }
    return std::nullopt;
}

int LiveSoundBuffers() {
    return static_cast<int>(platform::TimedSoundBuffers().size());
}

void SetNewSoundBufferWritePosition(uint32_t bytes) {
    platform::SetTimedSoundNewWritePosition(bytes);
}

std::vector<float> MixSound(uint32_t outputRate, uint32_t frames) {
    std::vector<float> mix(static_cast<size_t>(frames) * 2, 0.0F);
    std::vector<float> decoded;
    for (platform::SoundBufferData* buffer : platform::TimedSoundBuffers()) {
        platform::SettleSoundBuffer(*buffer);
        const SoundBufferState& s = buffer->state;
        if (!s.playing) {
            continue;
        }
        platform::DecodePcmToStereo(s.bytes.data(), static_cast<uint32_t>(s.bytes.size()),
                                    s.description.format, &decoded);
        const uint32_t frameBytes = s.description.format.blockAlign;
        platform::MixVoice voice;
        voice.frames = decoded.data();
        voice.frameCount = static_cast<uint32_t>(decoded.size() / 2);
        voice.position = static_cast<uint64_t>(s.position / frameBytes)
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
    platform::ForgetTimedSound();
    calls.clear();
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
