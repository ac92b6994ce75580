#pragma once
// The sound device and its static buffers, one per sound slot. A buffer holds
// a whole sound in its own PCM format; the backend mixes whatever is playing.
// Every operation that can fail answers false and changes nothing.
#include <cstdint>
#include <memory>

namespace korvane::platform {

// ---- Buffer flags (what a buffer is asked to be able to do) ----------------
inline constexpr uint32_t kBufferStatic = 0x02;            // filled once, played many times
inline constexpr uint32_t kBufferMixedInSoftware = 0x08;   // mixed by the backend
inline constexpr uint32_t kBufferFrequencyControl = 0x20;  // accepts SoundBufferSetFrequency
inline constexpr uint32_t kBufferPanControl = 0x40;        // accepts SoundBufferSetPan
inline constexpr uint32_t kBufferVolumeControl = 0x80;     // accepts SoundBufferSetVolume

// ---- Play flags and the status word ------------------------------------------
inline constexpr uint32_t kPlayLoopingFlag = 0x1;   // loop until stopped
inline constexpr uint32_t kStatusPlayingBit = 0x1;  // set while the buffer plays
inline constexpr uint32_t kStatusLoopingBit = 0x4;  // set while it plays looped

// ---- What the backends accept --------------------------------------------------
inline constexpr uint16_t kFormatPcm = 1;
inline constexpr uint32_t kBufferMinBytes = 4;
// The largest static buffer a sound device makes: over 25 minutes of 44.1 kHz
// 16-bit stereo.
inline constexpr uint32_t kBufferMaxBytes = 0x0FFF'FFFF;
inline constexpr uint32_t kFrequencyOriginal = 0;  // back to the format's own rate
inline constexpr uint32_t kFrequencyMin = 100;
inline constexpr uint32_t kFrequencyMax = 200'000;
inline constexpr int32_t kVolumeSilent = -10'000;  // hundredths of a decibel
inline constexpr int32_t kVolumeFull = 0;
inline constexpr int32_t kPanLeft = -10'000;  // the right side silenced
inline constexpr int32_t kPanRight = 10'000;  // the left side silenced

// A wave format as a buffer is created with: interleaved PCM samples,
// unsigned 8-bit or signed little-endian 16-bit.
struct SoundFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};

struct SoundBufferDescription {
    uint32_t flags = 0;
    uint32_t bytes = 0;
    SoundFormat format;
};

// Whether a backend can create a buffer like this: PCM, one or two channels
// of 8 or 16 bits with a block of one frame, a rate the device can play and a
// size within the limits above.
constexpr bool SoundBufferDescriptionSupported(const SoundBufferDescription& description) {
    const SoundFormat& f = description.format;
    return f.formatTag == kFormatPcm && (f.channels == 1 || f.channels == 2) &&
           (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
           f.blockAlign == f.channels * f.bitsPerSample / 8 &&
           f.samplesPerSecond >= kFrequencyMin && f.samplesPerSecond <= kFrequencyMax &&
           description.bytes >= kBufferMinBytes && description.bytes <= kBufferMaxBytes;
}

// The buffer memory handed out by a lock: the locked range, which wraps
// round from the buffer's end to its start, in at most two pieces.
struct SoundRegions {
    uint8_t* first = nullptr;
    uint32_t firstBytes = 0;
    uint8_t* second = nullptr;
    uint32_t secondBytes = 0;
};

// ---- The device ------------------------------------------------------------------
// Opens the default sound device. False when there is none.
bool SoundDeviceOpen();
// Lets the device play for the game's window alongside other programs' sound.
bool SoundDeviceAttachToWindow();
// Closes the device; buffers still alive fall silent.
void SoundDeviceClose();

// ---- Buffers -----------------------------------------------------------------------
struct SoundBufferData;  // defined by the backend
struct SoundBufferReleaser {
    void operator()(SoundBufferData* buffer) const;
};
// A static buffer; released (stopped and freed) when it goes out of scope.
using SoundBuffer = std::unique_ptr<SoundBufferData, SoundBufferReleaser>;

// Creates a stopped buffer of description.bytes bytes at position 0, at full volume,
// centred and at the format's own rate. `slot` names it in the backend's
// records. Empty when the device is not open or refuses the description.
SoundBuffer SoundBufferCreate(const SoundBufferDescription& description, int slot);

// Hands out `bytes` bytes of the buffer's memory starting at `offset`, or at
// the write position (where the next sound data should go: for a buffer that
// has never played, its start) when `fromWritePosition` is set.
bool SoundBufferLock(SoundBufferData& buffer, uint32_t offset, uint32_t bytes,
                     bool fromWritePosition, SoundRegions* regions);
// Gives back the regions of the last lock; the data written there is what the
// buffer plays from now on.
bool SoundBufferUnlock(SoundBufferData& buffer, const SoundRegions& regions);

// Moves the play position to `byteOffset` (rounded down to a whole frame).
bool SoundBufferSetPosition(SoundBufferData& buffer, uint32_t byteOffset);
// Plays from the current position, once or looping (kPlayLoopingFlag). A
// once-played buffer stops by itself at its end and its position returns to
// the start.
bool SoundBufferPlay(SoundBufferData& buffer, uint32_t flags);
// Stops; the position stays where it was.
bool SoundBufferStop(SoundBufferData& buffer);
// The status word: kStatusPlayingBit, kStatusLoopingBit.
bool SoundBufferStatus(SoundBufferData& buffer, uint32_t* status);
// Attenuation in hundredths of a decibel, kVolumeSilent to kVolumeFull;
// refused without kBufferVolumeControl.
bool SoundBufferSetVolume(SoundBufferData& buffer, int32_t hundredthsOfDecibel);
// Playback rate, kFrequencyMin to kFrequencyMax or kFrequencyOriginal;
// refused without kBufferFrequencyControl.
bool SoundBufferSetFrequency(SoundBufferData& buffer, uint32_t samplesPerSecond);
// kPanLeft to kPanRight, in hundredths of a decibel taken off the other side;
// refused without kBufferPanControl.
bool SoundBufferSetPan(SoundBufferData& buffer, int32_t pan);

}  // namespace korvane::platform
