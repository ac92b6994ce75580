#pragma once
// The WAVE format chunk as the loader reads it: its first 18 bytes.
#include <cstdint>

#include "platform/sound_device.h"

namespace korvane {

inline constexpr uint32_t kWaveFormatBytes = 18;

// Little-endian fields at offsets 0 (format tag), 2 (channels), 4 (samples
// per second), 8 (average bytes per second), 12 (block alignment), 14 (bits
// per sample) and 16 (extra size).
platform::SoundFormat ReadWaveFormat(const uint8_t (&bytes)[kWaveFormatBytes]);

// The format handed to the device: tag, channels, rate, block alignment and
// bits copied; the average rate recomputed as rate times block alignment; no
// extra bytes.
platform::SoundFormat DeviceFormatOf(const platform::SoundFormat& file);

}  // namespace korvane
