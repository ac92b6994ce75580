// Saving the fake display's pictures as PNG files, 8 bits per channel, with
// the shared PNG encoder, the same on every build.
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/common/host_file.h"
#include "platform/common/png_encoder.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_internal.h"
#include "platform/pixel_565.h"

namespace korvane::fake {
namespace {

std::vector<uint8_t> ToRgb(const platform::Surface& surface) {
    const bool is555 = detail::DisplayIs555();
    std::vector<uint8_t> rgb(static_cast<size_t>(surface.width) * surface.height * 3);
    size_t at = 0;
    for (uint32_t y = 0; y < surface.height; ++y) {
        for (uint32_t x = 0; x < surface.width; ++x) {
            const uint16_t pixel = surface.Get(x, y);
            const platform::Rgb8 wide =
                is555 ? platform::Widen555(pixel) : platform::Widen565(pixel);
            rgb[at++] = wide.r;
            rgb[at++] = wide.g;
            rgb[at++] = wide.b;
        }
    }
    return rgb;
}

}  // namespace

bool SavePng(const platform::Surface* surface, const std::string& hostPath) {
    if (surface == nullptr || surface->width == 0 || surface->height == 0) {
        return false;
    }
    const std::vector<uint8_t> png =
        platform::EncodePng(surface->width, surface->height, 3, ToRgb(*surface));
    const std::unique_ptr<std::FILE, platform::StdioCloser> file(
        std::fopen(hostPath.c_str(), "wb"));
    return file && std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
}

bool SavePng(Buffer which, const std::string& hostPath) {
    return SavePng(DisplaySurface(which), hostPath);
}

}  // namespace korvane::fake
