#pragma once
// The frame driver: one call is one frame of whatever screen is current,
// paced to at least 40 ms.
#include <cstdint>

#include "app/screen_state.h"
#include "gfx/image.h"
#include "sound/sound.h"

namespace korvane {

extern Image mainImage;    // "Art\Main.kvp", the playing screen's background
extern SoundId gameMusic;  // "Sound\Music.wav"
// NowMs after the last keyboard sample and the last gravity step of play.
extern uint32_t lastInputTick;
extern uint32_t lastGravityTick;

inline constexpr uint32_t kFrameMs = 40;
inline constexpr uint32_t kInputIntervalMs = 100;
inline constexpr uint32_t kGravityIntervalMs = 250;
inline constexpr uint32_t kGameEndPauseMs = 2000;

// Whether more than `interval` ms have passed from `last` to `now`. The time
// between them is taken modulo 2^32, so the ticks go on across the
// millisecond clock's wrap.
constexpr bool TickDue(uint32_t now, uint32_t last, uint32_t interval) {
    return now - last > interval;
}

int RunFrame();
// No background, no music, both ticks at 0, as at program start.
void ResetFrameState();

// Observers for instruments such as the replay tool: called just before a
// frame starts, and after it with the screen state the frame ran in.
struct FrameObserver {
    void (*before)() = nullptr;
    void (*after)(ScreenState ranIn) = nullptr;
};
void SetFrameObserver(FrameObserver observer);

}  // namespace korvane
