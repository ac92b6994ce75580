#pragma once
// .kvp pictures built in memory: the 14-byte header and blue-green-red
// pixels, top row first.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "gfx/kvp_format.h"

namespace korvane::testing {

// The bytes of a width x height picture whose pixel (x, y) is
// pixel(x, y, &red, &green, &blue).
template <typename PixelAt>
std::vector<uint8_t> KvpBytes(uint32_t width, uint32_t height, PixelAt pixel) {
    const uint32_t n = 3 * width * height;
    std::vector<uint8_t> bytes;
    bytes.reserve(14 + n);
    AppendKvpHeader(bytes, width, height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t red = 0;
            uint8_t green = 0;
            uint8_t blue = 0;
            pixel(x, y, &red, &green, &blue);
            bytes.push_back(blue);
            bytes.push_back(green);
            bytes.push_back(red);
        }
    }
    return bytes;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace korvane::testing
