#include "sound/wav_format.h"

namespace korvane {
namespace {

uint16_t Le16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t Le32(const uint8_t* at) {
    return static_cast<uint32_t>(Le16(at)) | static_cast<uint32_t>(Le16(at + 2)) << 16;
}

}  // namespace

platform::SoundFormat ReadWaveFormat(const uint8_t (&bytes)[kWaveFormatBytes]) {
    platform::SoundFormat format;
    format.formatTag = Le16(bytes);
    format.channels = Le16(bytes + 2);
    format.samplesPerSecond = Le32(bytes + 4);
    format.averageBytesPerSecond = Le32(bytes + 8);
    format.blockAlign = Le16(bytes + 12);
    format.bitsPerSample = Le16(bytes + 14);
    format.extraSize = Le16(bytes + 16);
    return format;
}

platform::SoundFormat DeviceFormatOf(const platform::SoundFormat& file) {
    platform::SoundFormat format;
    format.formatTag = platform::kFormatPcm;
    format.channels = file.channels;
    format.samplesPerSecond = file.samplesPerSecond;
    format.blockAlign = file.blockAlign;
    format.bitsPerSample = file.bitsPerSample;
    // Deliberate: the file's own average rate is not trusted; a wrong one in
    // the file must not stop the sound from playing.
    format.averageBytesPerSecond = file.samplesPerSecond * file.blockAlign;
    format.extraSize = 0;
    return format;
}

}  // namespace korvane
