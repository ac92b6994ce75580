#include "sound/wav_format.h"

#include "platform/little_endian.h"

namespace korvane {

using platform::ReadLe16;
using platform::ReadLe32;

platform::SoundFormat ReadWaveFormat(const uint8_t (&bytes)[kWaveFormatBytes]) {
    platform::SoundFormat format;
    format.formatTag = ReadLe16(bytes);
    format.channels = ReadLe16(bytes + 2);
    format.samplesPerSecond = ReadLe32(bytes + 4);
    format.averageBytesPerSecond = ReadLe32(bytes + 8);
    format.blockAlign = ReadLe16(bytes + 12);
    format.bitsPerSample = ReadLe16(bytes + 14);
    format.extraSize = ReadLe16(bytes + 16);
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
