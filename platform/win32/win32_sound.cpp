// The Windows backend's sound: one DirectSound object and a static
// DirectSound buffer per sound slot; DirectSound mixes whatever plays.
#include <windows.h>

// mmsystem.h needs the types windows.h defines, and dsound.h its wave format.
#include <mmsystem.h>

#include <dsound.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sound_device.h"
#include "platform/win32/win32_shared.h"
#ifdef KORVANE_WIN32_TEST_HOOKS
#include "platform/win32/win32_test_hooks.h"
#endif

namespace korvane::platform {
namespace {

IDirectSound* directSound = nullptr;

}  // namespace

struct SoundBufferData {
    IDirectSoundBuffer* buffer = nullptr;
    uint32_t bytes = 0;
    // The samples as written through locks, for a buffer whose memory is lost.
    std::vector<uint8_t> kept;
    // Where the last lock began.
    uint32_t lockedAt = 0;
#ifdef KORVANE_WIN32_TEST_HOOKS
    // Made lost by the hook in the backend's testing copy, as no device under
    // Wine can be made to lose it; korvane.exe has neither.
    bool lostForTest = false;
#endif
};

namespace {

// A buffer loses its memory when the sound device is taken from the game
// (another program opens it exclusively, the device is reset or changed):
// DirectSound then refuses to play it until it is restored, and a restored
// buffer holds no samples. It is restored and filled again from the kept
// samples; no call is asked again more than once.
bool RestoreAndRefill(SoundBufferData& buffer) {
    if (FAILED(buffer.buffer->Restore())) {
        return false;
    }
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (FAILED(buffer.buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes,
                                   DSBLOCK_ENTIREBUFFER))) {
        return false;
    }
    std::memcpy(first, buffer.kept.data(), std::min<size_t>(firstBytes, buffer.kept.size()));
    buffer.buffer->Unlock(first, firstBytes, second, secondBytes);
#ifdef KORVANE_WIN32_TEST_HOOKS
    buffer.lostForTest = false;
#endif
    return true;
}

bool IsLost(SoundBufferData& buffer) {
#ifdef KORVANE_WIN32_TEST_HOOKS
    if (buffer.lostForTest) {
        return true;
    }
#endif
    DWORD status = 0;
    return SUCCEEDED(buffer.buffer->GetStatus(&status)) && (status & DSBSTATUS_BUFFERLOST) != 0;
}

void RestoreIfLost(SoundBufferData& buffer) {
    if (IsLost(buffer)) {
        RestoreAndRefill(buffer);
    }
}

}  // namespace

void SoundBufferReleaser::operator()(SoundBufferData* buffer) const {
    if (buffer != nullptr && buffer->buffer != nullptr) {
        buffer->buffer->Release();  // a playing buffer stops as it goes
    }
    std::default_delete<SoundBufferData>()(buffer);
}

bool SoundDeviceOpen() {
    if (directSound != nullptr) {
        return true;
    }
    if (FAILED(DirectSoundCreate(nullptr, &directSound, nullptr))) {
        directSound = nullptr;
        return false;
    }
    return true;
}

bool SoundDeviceAttachToWindow() {
    return directSound != nullptr &&
           SUCCEEDED(directSound->SetCooperativeLevel(win32::GameWindow(), DSSCL_NORMAL));
}

void SoundDeviceClose() {
    if (directSound != nullptr) {
        directSound->Release();
        directSound = nullptr;
    }
}

SoundBuffer SoundBufferCreate(const SoundBufferDescription& spec, int /*slot*/) {
    // DirectSound on Windows refuses these descriptions, locks and positions
    // itself; they are checked here too, since not every implementation of
    // the interface does (Wine takes them), and the game must meet the same
    // answers wherever it runs.
    if (directSound == nullptr || !SoundBufferDescriptionSupported(spec)) {
        return nullptr;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = spec.format.formatTag;
    format.nChannels = spec.format.channels;
    format.nSamplesPerSec = spec.format.samplesPerSecond;
    format.nAvgBytesPerSec = spec.format.averageBytesPerSecond;
    format.nBlockAlign = spec.format.blockAlign;
    format.wBitsPerSample = spec.format.bitsPerSample;
    format.cbSize = spec.format.extraSize;
    // The seam's buffer flags are DirectSound's own capability bits.
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = spec.flags;
    description.dwBufferBytes = spec.bytes;
    description.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(directSound->CreateSoundBuffer(&description, &buffer, nullptr))) {
        return nullptr;
    }
    auto* made = new SoundBufferData;
    made->buffer = buffer;
    made->bytes = spec.bytes;
    made->kept.assign(spec.bytes, 0);
    return SoundBuffer(made);
}

bool SoundBufferLock(SoundBufferData& buffer, uint32_t offset, uint32_t bytes,
                     bool fromWritePosition, SoundRegions* regions) {
    if (bytes == 0 || bytes > buffer.bytes || (!fromWritePosition && offset >= buffer.bytes)) {
        return false;
    }
    RestoreIfLost(buffer);
    DWORD playing = 0;
    DWORD writing = 0;
    if (fromWritePosition && FAILED(buffer.buffer->GetCurrentPosition(&playing, &writing))) {
        return false;
    }
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (FAILED(buffer.buffer->Lock(offset, bytes, &first, &firstBytes, &second, &secondBytes,
                                   fromWritePosition ? DSBLOCK_FROMWRITECURSOR : 0))) {
        return false;
    }
    buffer.lockedAt = fromWritePosition ? writing : offset;
    *regions = SoundRegions{static_cast<uint8_t*>(first), firstBytes, static_cast<uint8_t*>(second),
                            secondBytes};
    return true;
}

bool SoundBufferUnlock(SoundBufferData& buffer, const SoundRegions& regions) {
    // The first region starts where the lock began, the second (the part
    // that wrapped round) at the buffer's start.
    if (regions.first != nullptr && buffer.lockedAt < buffer.bytes) {
        std::memcpy(buffer.kept.data() + buffer.lockedAt, regions.first,
                    std::min<size_t>(regions.firstBytes, buffer.bytes - buffer.lockedAt));
    }
    if (regions.second != nullptr) {
        std::memcpy(buffer.kept.data(), regions.second,
                    std::min<size_t>(regions.secondBytes, buffer.bytes));
    }
    return SUCCEEDED(buffer.buffer->Unlock(regions.first, regions.firstBytes, regions.second,
                                           regions.secondBytes));
}

bool SoundBufferSetPosition(SoundBufferData& buffer, uint32_t byteOffset) {
    if (byteOffset >= buffer.bytes) {
        return false;
    }
    RestoreIfLost(buffer);
    return SUCCEEDED(buffer.buffer->SetCurrentPosition(byteOffset));
}

bool SoundBufferPlay(SoundBufferData& buffer, uint32_t flags) {
    RestoreIfLost(buffer);
    // kPlayLoopingFlag is DSBPLAY_LOOPING.
    HRESULT result = buffer.buffer->Play(0, 0, flags);
    // Lost between the look and the play: restored once, played once more.
    if (result == DSERR_BUFFERLOST && RestoreAndRefill(buffer)) {
        result = buffer.buffer->Play(0, 0, flags);
    }
    return SUCCEEDED(result);
}

bool SoundBufferStop(SoundBufferData& buffer) {
    return SUCCEEDED(buffer.buffer->Stop());
}

bool SoundBufferStatus(SoundBufferData& buffer, uint32_t* status) {
    DWORD word = 0;
    if (FAILED(buffer.buffer->GetStatus(&word))) {
        return false;
    }
    *status = word;  // DSBSTATUS_PLAYING and DSBSTATUS_LOOPING are the seam's bits
    return true;
}

bool SoundBufferSetVolume(SoundBufferData& buffer, int32_t hundredthsOfDecibel) {
    return SUCCEEDED(buffer.buffer->SetVolume(hundredthsOfDecibel));
}

bool SoundBufferSetFrequency(SoundBufferData& buffer, uint32_t samplesPerSecond) {
    return SUCCEEDED(buffer.buffer->SetFrequency(samplesPerSecond));
}

bool SoundBufferSetPan(SoundBufferData& buffer, int32_t pan) {
    return SUCCEEDED(buffer.buffer->SetPan(pan));
}

#ifdef KORVANE_WIN32_TEST_HOOKS
namespace win32 {

void LoseSoundBufferForTest(SoundBufferData& buffer) {
    buffer.buffer->Stop();
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (SUCCEEDED(buffer.buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes,
                                      DSBLOCK_ENTIREBUFFER))) {
        std::memset(first, 0x5A, firstBytes);
        buffer.buffer->Unlock(first, firstBytes, second, secondBytes);
    }
    buffer.lostForTest = true;
}

}  // namespace win32
#endif

// The seam's values are DirectSound's; a change on either side shows here.
static_assert(kBufferStatic == DSBCAPS_STATIC && kBufferMixedInSoftware == DSBCAPS_LOCSOFTWARE &&
              kBufferFrequencyControl == DSBCAPS_CTRLFREQUENCY &&
              kBufferPanControl == DSBCAPS_CTRLPAN && kBufferVolumeControl == DSBCAPS_CTRLVOLUME);
static_assert(kPlayLoopingFlag == DSBPLAY_LOOPING && kStatusPlayingBit == DSBSTATUS_PLAYING &&
              kStatusLoopingBit == DSBSTATUS_LOOPING);
static_assert(kVolumeSilent == DSBVOLUME_MIN && kPanLeft == DSBPAN_LEFT &&
              kPanRight == DSBPAN_RIGHT);

}  // namespace korvane::platform
