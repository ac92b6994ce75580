#include "tools/soundgen/wav.h"

#include "tools/assetkit/byte_writer.h"

namespace korvane::soundgen {

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int channels,
                                    int sample_rate) {
    const auto data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto block = static_cast<std::uint16_t>(channels * 2);
    assetkit::ByteWriter file;
    file.Tag("RIFF");
    file.U32(4 + 8 + 16 + 8 + data_bytes);
    file.Tag("WAVE");
    file.Tag("fmt ");
    file.U32(16);
    file.U16(1);  // PCM
    file.U16(static_cast<std::uint16_t>(channels));
    file.U32(static_cast<std::uint32_t>(sample_rate));
    file.U32(static_cast<std::uint32_t>(sample_rate) * block);
    file.U16(block);
    file.U16(16);
    file.Tag("data");
    file.U32(data_bytes);
    for (const std::int16_t s : samples) {
        file.U16(static_cast<std::uint16_t>(s));
    }
    return file.Bytes();
}

}  // namespace korvane::soundgen
