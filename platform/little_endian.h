#pragma once
// Little-endian numbers in file bytes, as RIFF, WAV and .kvp files hold them.
#include <cstdint>

namespace korvane::platform {

constexpr uint16_t ReadLe16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

constexpr uint32_t ReadLe32(const uint8_t* at) {
    return static_cast<uint32_t>(ReadLe16(at)) | static_cast<uint32_t>(ReadLe16(at + 2)) << 16;
}

}  // namespace korvane::platform
