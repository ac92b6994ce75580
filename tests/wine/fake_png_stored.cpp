// The headless display's PNG pictures for the Windows build, where there is
// no libpng: the art generator's own encoder writes them, uncompressed.
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/common/memory_surface.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_internal.h"
#include "tools/artgen/encode.h"

namespace korvane::fake {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Widens a 5- or 6-bit channel to 8 bits, repeating its top bits below, so
// these pictures match the ones libpng writes on Linux byte for byte in pixels.
uint8_t Widen(uint32_t value, int bits) {
    return static_cast<uint8_t>((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

artgen::Pixels ToPixels(const platform::Surface& surface) {
    const bool is555 = detail::DisplayIs555();
    artgen::Pixels pixels;
    pixels.width = static_cast<int>(surface.width);
    pixels.height = static_cast<int>(surface.height);
    pixels.channels = 3;
    pixels.bytes.reserve(static_cast<size_t>(surface.width) * surface.height * 3);
    for (uint32_t y = 0; y < surface.height; ++y) {
        for (uint32_t x = 0; x < surface.width; ++x) {
            const uint32_t pixel = surface.Get(x, y);
            const int greenBits = is555 ? 5 : 6;
            const uint32_t red = is555 ? (pixel >> 10) & 0x1F : (pixel >> 11) & 0x1F;
            const uint32_t green = (pixel >> 5) & (is555 ? 0x1F : 0x3F);
            pixels.bytes.push_back(Widen(red, 5));
            pixels.bytes.push_back(Widen(green, greenBits));
            pixels.bytes.push_back(Widen(pixel & 0x1F, 5));
        }
    }
    return pixels;
}

}  // namespace

bool SavePng(const platform::Surface* surface, const std::string& hostPath) {
    if (surface == nullptr || surface->width == 0 || surface->height == 0) {
        return false;
    }
    const std::vector<uint8_t> png = artgen::EncodePng(ToPixels(*surface));
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(hostPath.c_str(), "wb"));
    return file && std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
}

bool SavePng(Buffer which, const std::string& hostPath) {
    return SavePng(DisplaySurface(which), hostPath);
}

}  // namespace korvane::fake
