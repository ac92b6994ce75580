#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test {

// Reading the generated files back independently of the generators' code.

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
std::uint32_t LittleEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint16_t LittleEndian16(const std::vector<std::uint8_t>& bytes, std::size_t at);

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> bgr;  // 3 bytes a pixel
    int Channel(std::uint32_t x, std::uint32_t y, int c) const {
        return bgr[(static_cast<std::size_t>(y) * width + x) * 3 + static_cast<std::size_t>(c)];
    }
    // The brightest of red, green and blue at a pixel.
    int Brightest(std::uint32_t x, std::uint32_t y) const;
};

// Checks the .kvp header against the file's length; empty error on success.
Picture ReadPicture(const std::string& path, std::string& error);

struct Sound {
    int channels = 0;
    int sample_rate = 0;
    int bits = 0;
    std::vector<std::int16_t> samples;  // interleaved
};

// Walks the RIFF chunks as the game's loader does: a PCM format chunk, then
// a data chunk after it. Empty error on success.
Sound ReadSound(const std::string& path, std::string& error);

struct SoundFigures {
    double seconds = 0.0;
    double peak_dbfs = 0.0;
    double rms_dbfs = 0.0;
    // Largest jump from the last sample back to the first, over channels,
    // and the 99th percentile of neighbouring samples' jumps inside the sound.
    int seam_jump = 0;
    int typical_jump = 0;
};

SoundFigures Measure(const Sound& sound);

}  // namespace korvane::test
