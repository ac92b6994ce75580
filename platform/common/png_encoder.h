#pragma once
// PNG files written with stored (uncompressed) deflate blocks, so their
// bytes depend on no compression library: the art generator's icons and the
// headless display's screenshots, on every build.
#include <cstdint>
#include <vector>

namespace korvane::platform {

// A PNG of `width` x `height` pixels of 8-bit channels, `channels` 3 (red,
// green, blue) or 4 (with alpha), top row first, from `pixels` holding
// exactly that many bytes; empty for any other channel count or size.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, uint32_t channels,
                               const std::vector<uint8_t>& pixels);

}  // namespace korvane::platform
