#pragma once
// What the Windows backend's own tests can make happen that Wine cannot: in
// the backend's testing copy (korvane_platform_win32_testing) alone.
#include "platform/sound_device.h"

namespace korvane::platform::win32 {

// Makes a buffer as one whose memory went with the sound device: it stops,
// its samples are overwritten, and it counts as lost until restored.
void LoseSoundBufferForTest(SoundBufferData& buffer);

}  // namespace korvane::platform::win32
