#pragma once
// Sound buffers whose playing is measured by a clock rather than by a mixer:
// a sound started at some time has reached the frame its rate says, and a
// once-played one has stopped (and gone back to its start) when its length
// has passed. The game's view of its sounds (status, loops, positions) is then
// the same whether or not anything is heard: the headless backend hears
// nothing at all, and the browser nothing until the player's first key.
//
// The seam's sound functions are defined here, once, over a small audio
// output that each backend on these buffers defines: whether a step may go
// ahead, the clock the sounds play by, and what to do when a sound starts,
// stops or changes.
#include <cstdint>
#include <list>
#include <vector>

#include "platform/sound_device.h"

namespace korvane::platform {

// One buffer as it stands: what it holds and how it plays.
struct TimedSoundState {
    int slot = -1;
    SoundBufferDescription description;
    std::vector<uint8_t> bytes;
    uint32_t position = 0;  // in bytes, a whole number of frames
    bool playing = false;
    bool looping = false;
    int32_t volume = kVolumeFull;
    int32_t pan = 0;
    uint32_t frequency = 0;  // samples per second
};

struct SoundBufferData {
    TimedSoundState state;
    uint32_t generation = 0;  // buffers from before the last ForgetTimedSound are gone
    uint64_t startedAtNs = 0;
    uint32_t startFrame = 0;    // the frame playing started from at startedAtNs
    uint32_t outputHandle = 0;  // the output's own name for the buffer, 0 for none
};

// ---- The audio output: defined by each backend on these buffers -------------
// Whether the step ("sound.create", "sound.play", ...) may go ahead.
bool SoundStepGoesAhead(const char* step);
// The time the sounds play by, in nanoseconds; never goes back.
uint64_t SoundClockNs();

enum class SoundEvent : uint8_t {
    DeviceOpened,    // no buffer
    DeviceAttached,  // no buffer
    DeviceClosed,    // no buffer
    Created,
    Released,
    SamplesChanged,  // an unlock handed new data over
    Started,         // plays from state.position at startedAtNs; value: the play flags
    Stopped,
    Positioned,    // moved to state.position (value: the byte offset asked for)
    RateChanged,   // plays on at state.frequency from state.position
    GainsChanged,  // volume or pan
    StatusRead,    // value: the status word answered
};
// Tells the output what the game did; `buffer` is null for the device's events.
void SoundOutputEvent(SoundEvent event, SoundBufferData* buffer, uint32_t value);

// ---- For the backend and its tests -----------------------------------------------
// Brings a playing buffer's position and state up to the clock.
void SettleSoundBuffer(SoundBufferData& buffer);
bool TimedSoundDeviceOpen();
// Every live buffer, oldest first.
const std::list<SoundBufferData*>& TimedSoundBuffers();
// Where new buffers' write position stands (default 0, the start).
void SetTimedSoundNewWritePosition(uint32_t bytes);
// Closes the device and forgets every buffer: buffers the game still holds
// are released later without a trace.
void ForgetTimedSound();

}  // namespace korvane::platform
