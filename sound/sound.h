#pragma once
// Sound slots: sixteen numbered places, each holding one sound read whole
// from a PCM WAV file into a static buffer of the sound device.
#include <cstdint>

#include "platform/sound_device.h"

namespace korvane {

// 0 to 15 names a sound slot; -1 is a failed load. Every operation treats a
// value outside 0 to 15 as an empty slot.
using SoundId = int32_t;

inline constexpr int kSoundSlots = 16;
inline constexpr uint32_t kPlayOnce = 0;
inline constexpr uint32_t kPlayLooping = platform::kPlayLoopingFlag;
inline constexpr uint32_t kStatusPlaying = platform::kStatusPlayingBit;

// The effect sounds of the rules: a piece landing, a row removed, a turn;
// -1 until loaded, and when their load failed.
extern SoundId ThudSound;
extern SoundId DropSound;
extern SoundId RotateSound;

// Empties every slot and opens the sound device; 1 when it is ready, 0 after
// a message box has said why not.
int SoundInit();

// Stops and releases every slot, then closes the device. Always 1.
int SoundShutdown();

// Every slot empty and no effect sound, as at program start; only once
// SoundShutdown has run.
void ResetSoundState();

// Loads a PCM WAV file (a game path, "Sound\Drop.wav") into the lowest free
// slot; `creationFlags` are added to the buffer's flags. The slot's id, or -1:
// with a message box when no slot is free or the file cannot be opened,
// silently for anything else.
SoundId SoundLoadWav(const char* path, uint32_t creationFlags);

// Rewinds the slot's sound and plays it, once (kPlayOnce) or looped
// (kPlayLooping); 1 when it plays, 0 for an empty slot or when the device
// refuses.
int SoundPlay(SoundId id, uint32_t flags);

// Stops the slot's sound and rewinds it. Always 1.
int SoundStop(SoundId id);

// SoundStop on every slot. Always 1.
int SoundStopAll();

// Stops the slot's sound and frees the slot. Always 1.
int SoundRelease(SoundId id);

// SoundRelease on every slot. Always 1.
int SoundReleaseAll();

// The buffer's status word (kStatusPlaying while it plays), or 0xFFFFFFFF for
// an empty slot, so that callers who restart a sound when bit 0 is clear never
// try one that failed to load.
uint32_t SoundStatus(SoundId id);

// Volume in percent (100 full, 0 at -30 dB); 1 when the device accepts it.
int SoundSetVolume(SoundId id, int32_t percent);

// Playback rate in samples per second; accepted only for sounds loaded with
// frequency control in their creation flags.
int SoundSetFrequency(SoundId id, uint32_t samplesPerSecond);

// Pan in hundredths of a decibel taken off the other side (-10000 left to
// 10000 right); accepted only for sounds loaded with pan control.
int SoundSetPan(SoundId id, int32_t pan);

// A trace hook for the replay tool: called by SoundPlay ("play", id, flags),
// SoundStop ("stop", id, 0) and SoundStopAll ("stopall", -1, 0) on every call,
// before anything else happens. Null by default.
using SoundObserver = void (*)(const char* op, SoundId id, uint32_t flags);
void SetSoundObserver(SoundObserver observer);

}  // namespace korvane
