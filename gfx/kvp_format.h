#pragma once
// The .kvp picture file, for its reader here and its writers in the tools
// and tests: a 14-byte little-endian header (width at 0, height at 4, two
// unused bytes at 8, the pixel-data size N at 10), then N bytes of pixels,
// three per pixel in the order blue, green, red, top row first.
#include <cstdint>
#include <vector>

#include "platform/little_endian.h"

namespace korvane {

inline constexpr uint32_t kKvpHeaderBytes = 14;

struct KvpHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t dataBytes = 0;  // N
};

// The header at the start of `bytes`, which hold at least kKvpHeaderBytes.
inline KvpHeader ReadKvpHeader(const uint8_t* bytes) {
    return {platform::ReadLe32(bytes), platform::ReadLe32(bytes + 4),
            platform::ReadLe32(bytes + 10)};
}

// Appends the header of a width x height picture; the unused bytes are 0.
inline void AppendKvpHeader(std::vector<uint8_t>& bytes, uint32_t width, uint32_t height) {
    const uint32_t fields[] = {width, height, 3 * width * height};
    for (int field = 0; field < 3; ++field) {
        if (field == 2) {
            bytes.insert(bytes.end(), 2, 0);
        }
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<uint8_t>(fields[field] >> (8 * i)));
        }
    }
}

}  // namespace korvane
