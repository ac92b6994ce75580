#pragma once

#include <cstdint>
#include <vector>

namespace korvane::soundgen {

// A RIFF WAVE file: a 16-byte PCM format chunk, then the data chunk.
std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int channels,
                                    int sample_rate);

}  // namespace korvane::soundgen
