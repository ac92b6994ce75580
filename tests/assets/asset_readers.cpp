#include "tests/assets/asset_readers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace korvane::test {

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t LittleEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t LittleEndian16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

int Picture::Brightest(std::uint32_t x, std::uint32_t y) const {
    return std::max({Channel(x, y, 0), Channel(x, y, 1), Channel(x, y, 2)});
}

Picture ReadPicture(const std::string& path, std::string& error) {
    Picture picture;
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.size() < 14) {
        error = path + ": shorter than the 14-byte header";
        return picture;
    }
    picture.width = LittleEndian32(bytes, 0);
    picture.height = LittleEndian32(bytes, 4);
    const std::uint32_t declared = LittleEndian32(bytes, 10);
    const std::uint64_t expected = 3ULL * picture.width * picture.height;
    if (declared != expected) {
        error = path + ": pixel-data size " + std::to_string(declared) + " is not 3 x w x h";
        return picture;
    }
    if (bytes.size() != 14 + expected) {
        error = path + ": " + std::to_string(bytes.size()) + " bytes, expected " +
                std::to_string(14 + expected);
        return picture;
    }
    picture.bgr.assign(bytes.begin() + 14, bytes.end());
    return picture;
}

Sound ReadSound(const std::string& path, std::string& error) {
    Sound sound;
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE") {
        error = path + ": not a RIFF WAVE file";
        return sound;
    }
    if (LittleEndian32(bytes, 4) + 8 != bytes.size()) {
        error = path + ": RIFF size does not match the file";
        return sound;
    }
    bool have_format = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::uint32_t size = LittleEndian32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (body + size > bytes.size()) {
            error = path + ": chunk " + id + " runs past the end";
            return sound;
        }
        if (id == "fmt ") {
            // The game reads 18 bytes from here whatever the chunk's size.
            if (size < 16 || body + 18 > bytes.size()) {
                error = path + ": format chunk too short";
                return sound;
            }
            if (LittleEndian16(bytes, body) != 1) {
                error = path + ": not PCM";
                return sound;
            }
            sound.channels = LittleEndian16(bytes, body + 2);
            sound.sample_rate = static_cast<int>(LittleEndian32(bytes, body + 4));
            const std::uint32_t byte_rate = LittleEndian32(bytes, body + 8);
            const int block = LittleEndian16(bytes, body + 12);
            sound.bits = LittleEndian16(bytes, body + 14);
            if (block != sound.channels * sound.bits / 8 ||
                byte_rate != static_cast<std::uint32_t>(sound.sample_rate * block)) {
                error = path + ": block alignment or byte rate inconsistent";
                return sound;
            }
            have_format = true;
        } else if (id == "data") {
            if (!have_format) {
                error = path + ": data chunk before the format chunk";
                return sound;
            }
            if (sound.bits != 16 || size % static_cast<std::uint32_t>(2 * sound.channels) != 0) {
                error = path + ": data is not whole 16-bit frames";
                return sound;
            }
            for (std::uint32_t i = 0; i < size; i += 2) {
                sound.samples.push_back(static_cast<std::int16_t>(LittleEndian16(bytes, body + i)));
            }
            return sound;
        }
        at = body + size + (size & 1U);
    }
    error = path + ": no data chunk";
    return sound;
}

SoundFigures Measure(const Sound& sound) {
    SoundFigures figures;
    const auto channels = static_cast<std::size_t>(sound.channels);
    const std::size_t frames = sound.samples.size() / channels;
    figures.seconds = static_cast<double>(frames) / sound.sample_rate;
    int peak = 0;
    double energy = 0.0;
    for (const std::int16_t s : sound.samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
        energy += static_cast<double>(s) * s;
    }
    figures.peak_dbfs = 20.0 * std::log10(std::max(peak, 1) / 32768.0);
    figures.rms_dbfs =
        10.0 * std::log10(std::max(energy / static_cast<double>(sound.samples.size()), 1.0) /
                          (32768.0 * 32768.0));
    std::vector<int> jumps;
    for (std::size_t c = 0; c < channels; ++c) {
        for (std::size_t f = 1; f < frames; ++f) {
            jumps.push_back(
                std::abs(sound.samples[f * channels + c] - sound.samples[(f - 1) * channels + c]));
        }
        figures.seam_jump =
            std::max(figures.seam_jump,
                     std::abs(sound.samples[c] - sound.samples[(frames - 1) * channels + c]));
    }
    if (!jumps.empty()) {
        const auto at = jumps.begin() + static_cast<std::ptrdiff_t>(jumps.size() * 99 / 100);
        std::nth_element(jumps.begin(), at, jumps.end());
        figures.typical_jump = *at;
    }
    return figures;
}

}  // namespace korvane::test
