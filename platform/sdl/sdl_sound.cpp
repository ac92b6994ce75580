// The SDL sound device: one audio device in 32-bit float stereo. Every buffer
// keeps the sound's own samples, in its own format and rate, once; the
// callback converts and resamples them as it mixes.
//
// The game thread and the callback share each buffer's voice. Play, stop,
// rewind, volume, pan and rate go through atomics, so the game never waits
// for the callback; only creating, locking, unlocking and releasing a buffer
// take the device lock, and only to change whether it may be mixed.
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/common/sound_buffer_rules.h"
#include "platform/common/sound_mixer.h"
#include "platform/sdl/sdl_shared.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sound_device.h"

namespace korvane::platform {

// The state word: a serial number that every play and stop changes, then the
// looping and playing bits. The callback clears the playing bit at the end of
// a once-played sound only if the word is still the one it started from, so a
// restart from the game thread is never lost.
namespace {
constexpr uint32_t kVoicePlaying = 0x1;
constexpr uint32_t kVoiceLooping = 0x2;
constexpr uint32_t kVoiceSerialStep = 0x4;
constexpr uint64_t kNoRewind = 0;
}  // namespace

struct SoundBufferData {
    // Game thread only.
    SoundBufferDescription description;
    std::vector<uint8_t> memory;  // the buffer in its own format, as locked
    uint32_t writePosition = 0;
    int32_t volume = kVolumeFull;
    int32_t pan = 0;
    uint32_t rate = 0;  // the rate it plays at, in frames a second

    // Set under the device lock: false from a lock until its unlock, so the
    // callback never reads memory the game is writing.
    bool mixable = false;

    // Shared without a lock.
    std::atomic<uint32_t> state{0};
    std::atomic<uint64_t> rewindTo{kNoRewind};  // a source frame plus one
    std::atomic<uint64_t> step{0};
    std::atomic<float> gainLeft{1.0F};
    std::atomic<float> gainRight{1.0F};

    // Callback only (or whoever holds the device lock).
    uint64_t position = 0;  // in source frames, 32.32
};

namespace {

constexpr int kDeviceRate = 48'000;
constexpr int kDeviceFrames = 1024;  // about 21 ms per callback
constexpr size_t kMaxBuffers = 64;

struct SdlSoundDevice {
    SDL_AudioDeviceID id = 0;
    uint32_t rate = 0;
    std::array<SoundBufferData*, kMaxBuffers> buffers{};  // changed under the device lock
    std::atomic<uint64_t> callbacks{0};
};

SdlSoundDevice device;

// How often the device is looked at, and how often, once SDL has stopped it
// (its sound server went away), a new one is tried.
constexpr uint64_t kLookEveryMs = 250;
constexpr uint64_t kRetryEveryMs = 1000;

class DeviceLock {
  public:
    DeviceLock() : id_(device.id) {
        if (id_ != 0) {
            SDL_LockAudioDevice(id_);
        }
    }
    ~DeviceLock() {
        if (id_ != 0) {
            SDL_UnlockAudioDevice(id_);
        }
    }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

  private:
    SDL_AudioDeviceID id_;
};

void MixBuffer(SoundBufferData& buffer, float* out, uint32_t frames) {
    const uint64_t rewind = buffer.rewindTo.exchange(kNoRewind);
    if (rewind != kNoRewind) {
        buffer.position = (rewind - 1) << kMixFractionBits;
    }
    uint32_t state = buffer.state.load();
    if ((state & kVoicePlaying) == 0 || !buffer.mixable) {
        return;
    }
    const SoundFormat& format = buffer.description.format;
    PcmVoice voice;
    voice.bytes = buffer.memory.data();
    voice.channels = format.channels;
    voice.bitsPerSample = format.bitsPerSample;
    voice.frameCount = buffer.description.bytes / format.blockAlign;
    voice.position = buffer.position;
    voice.step = buffer.step.load();
    voice.gainLeft = buffer.gainLeft.load();
    voice.gainRight = buffer.gainRight.load();
    voice.looping = (state & kVoiceLooping) != 0;
    if (MixVoiceInto(voice, out, frames)) {
        buffer.position = voice.position;
        return;
    }
    buffer.position = 0;
    buffer.state.compare_exchange_strong(
        state, (state & ~(kVoicePlaying | kVoiceLooping)) + kVoiceSerialStep);
}

void MixAll(float* out, uint32_t frames) {
    std::fill(out, out + static_cast<size_t>(frames) * 2, 0.0F);
    for (SoundBufferData* buffer : device.buffers) {
        if (buffer != nullptr) {
            MixBuffer(*buffer, out, frames);
        }
    }
    for (float* sample = out; sample != out + static_cast<size_t>(frames) * 2; ++sample) {
        *sample = std::clamp(*sample, -1.0F, 1.0F);
    }
}

// Runs on SDL's audio thread with the device lock held: no allocation, no
// waiting.
void Callback(void* /*userdata*/, Uint8* stream, int bytes) {
    MixAll(reinterpret_cast<float*>(stream), static_cast<uint32_t>(bytes) / (2 * sizeof(float)));
    device.callbacks.fetch_add(1);
}

// SDL's default output device in the mixer's format, paused; 0 when there
// is none. `rate` is the device's frame rate.
SDL_AudioDeviceID OpenOutput(uint32_t* rate) {
    SDL_AudioSpec wanted{};
    wanted.freq = kDeviceRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = kDeviceFrames;
    wanted.callback = Callback;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    *rate = id != 0 ? static_cast<uint32_t>(obtained.freq) : 0;
    return id;
}

void StoreGains(SoundBufferData& buffer) {
    float left = 1.0F;
    float right = 1.0F;
    StereoGains(buffer.volume, buffer.pan, &left, &right);
    buffer.gainLeft.store(left);
    buffer.gainRight.store(right);
}

}  // namespace

bool SoundDeviceOpen() {
    if (device.id != 0) {
        return true;
    }
    if (!sdl::StartSubsystems(SDL_INIT_AUDIO)) {
        return false;
    }
    device.id = OpenOutput(&device.rate);
    if (device.id == 0) {
        return false;
    }
    SDL_PauseAudioDevice(device.id, 0);
    // Runs before SDL shuts down and before buffers still held by the game
    // are freed by its static destructors.
    static bool exitHookSet = false;
    if (!exitHookSet) {
        exitHookSet = true;
        std::atexit(SoundDeviceClose);
    }
    return true;
}

bool SoundDeviceAttachToWindow() {
    // SDL's device already mixes with other programs' sound and needs no window.
    return true;
}

void SoundDeviceClose() {
    if (device.id == 0) {
        return;
    }
    SDL_CloseAudioDevice(device.id);  // waits for a running callback to end
    device.id = 0;
    device.rate = 0;
    device.buffers.fill(nullptr);
}

void SoundBufferReleaser::operator()(SoundBufferData* buffer) const {
    {
        DeviceLock lock;
        std::replace(device.buffers.begin(), device.buffers.end(), buffer,
                     static_cast<SoundBufferData*>(nullptr));
    }
    std::default_delete<SoundBufferData>()(buffer);
}

SoundBuffer SoundBufferCreate(const SoundBufferDescription& description, int /*slot*/) {
    if (device.id == 0 || !SoundBufferDescriptionSupported(description)) {
        return nullptr;
    }
    // Silent until the first unlock hands its data to the device.
    SoundBuffer buffer(new SoundBufferData);
    buffer->description = description;
    buffer->memory.assign(description.bytes, description.format.bitsPerSample == 8 ? 0x80 : 0x00);
    buffer->rate = description.format.samplesPerSecond;
    buffer->step.store(MixStep(buffer->rate, device.rate));
    DeviceLock lock;
    auto freeEntry = std::find(device.buffers.begin(), device.buffers.end(), nullptr);
    if (freeEntry == device.buffers.end()) {
        return nullptr;  // released by the handle, which takes the lock again
    }
    *freeEntry = buffer.get();
    return buffer;
}

bool SoundBufferLock(SoundBufferData& buffer, uint32_t offset, uint32_t bytes,
                     bool fromWritePosition, SoundRegions* regions) {
    const auto size = static_cast<uint32_t>(buffer.memory.size());
    const uint32_t start = fromWritePosition ? buffer.writePosition : offset;
    if (!LockRegions(buffer.memory.data(), size, start, bytes, regions)) {
        return false;
    }
    DeviceLock lock;
    buffer.mixable = false;
    return true;
}

bool SoundBufferUnlock(SoundBufferData& buffer, const SoundRegions& regions) {
    if (!RegionsInside(buffer.memory.data(), static_cast<uint32_t>(buffer.memory.size()),
                       regions)) {
        return false;
    }
    DeviceLock lock;
    buffer.mixable = true;
    return true;
}

bool SoundBufferSetPosition(SoundBufferData& buffer, uint32_t byteOffset) {
    const SoundFormat& format = buffer.description.format;
    if (byteOffset >= buffer.description.bytes) {
        return false;
    }
    buffer.writePosition = byteOffset / format.blockAlign * format.blockAlign;
    buffer.rewindTo.store(byteOffset / format.blockAlign + 1);
    return true;
}

bool SoundBufferPlay(SoundBufferData& buffer, uint32_t flags) {
    const uint32_t looping = (flags & kPlayLoopingFlag) != 0 ? kVoiceLooping : 0U;
    uint32_t state = buffer.state.load();
    while (!buffer.state.compare_exchange_weak(
        state, ((state + kVoiceSerialStep) & ~(kVoicePlaying | kVoiceLooping)) | looping |
                   kVoicePlaying)) {
    }
    return true;
}

bool SoundBufferStop(SoundBufferData& buffer) {
    uint32_t state = buffer.state.load();
    while (!buffer.state.compare_exchange_weak(
        state, (state + kVoiceSerialStep) & ~(kVoicePlaying | kVoiceLooping))) {
    }
    return true;
}

bool SoundBufferStatus(SoundBufferData& buffer, uint32_t* status) {
    const uint32_t state = buffer.state.load();
    *status = StatusWord((state & kVoicePlaying) != 0, (state & kVoiceLooping) != 0);
    return true;
}

bool SoundBufferSetVolume(SoundBufferData& buffer, int32_t hundredthsOfDecibel) {
    if (!VolumeAccepted(buffer.description.flags, hundredthsOfDecibel)) {
        return false;
    }
    buffer.volume = hundredthsOfDecibel;
    StoreGains(buffer);
    return true;
}

bool SoundBufferSetFrequency(SoundBufferData& buffer, uint32_t samplesPerSecond) {
    if (!FrequencyAccepted(buffer.description.flags, samplesPerSecond)) {
        return false;
    }
    const uint32_t own = buffer.description.format.samplesPerSecond;
    buffer.rate = samplesPerSecond == kFrequencyOriginal ? own : samplesPerSecond;
    buffer.step.store(MixStep(buffer.rate, device.rate));
    return true;
}

bool SoundBufferSetPan(SoundBufferData& buffer, int32_t pan) {
    if (!PanAccepted(buffer.description.flags, pan)) {
        return false;
    }
    buffer.pan = pan;
    StoreGains(buffer);
    return true;
}

namespace sdl {

void ServiceSound() {
    static uint64_t nextLook = 0;
    static uint64_t nextTry = 0;
    const uint64_t now = SDL_GetTicks64();
    if (device.id == 0 || now < nextLook) {
        return;
    }
    nextLook = now + kLookEveryMs;
    // SDL stops a device whose sound server or hardware went away, and goes
    // on calling its callback at the device's pace: every sound plays on
    // unheard, and the game sees no difference.
    if (SDL_GetAudioDeviceStatus(device.id) != SDL_AUDIO_STOPPED || now < nextTry) {
        return;
    }
    nextTry = now + kRetryEveryMs;
    uint32_t rate = 0;
    const SDL_AudioDeviceID fresh = OpenOutput(&rate);
    if (fresh == 0) {
        return;
    }
    // The buffers keep their samples and their state; they move to the new
    // device as they are, the old one gone first so that only one mixes.
    SDL_CloseAudioDevice(device.id);
    device.id = fresh;
    device.rate = rate;
    for (SoundBufferData* buffer : device.buffers) {
        if (buffer != nullptr) {
            buffer->step.store(MixStep(buffer->rate, rate));
        }
    }
    SDL_PauseAudioDevice(fresh, 0);
}

void MixPlayingSounds(float* out, uint32_t frames) {
    DeviceLock lock;
    MixAll(out, frames);
}

void PauseSoundDevice(bool paused) {
    if (device.id != 0) {
        SDL_PauseAudioDevice(device.id, paused ? 1 : 0);
    }
}

uint64_t SoundCallbacks() {
    return device.callbacks.load();
}

uint32_t SoundDeviceRate() {
    return device.rate;
}

}  // namespace sdl
}  // namespace korvane::platform
