// The picture loader fed any bytes as a file, in both pixel layouts. A
// successful load must describe exactly the pixels the file held.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gfx/image.h"
#include "gfx/video.h"
#include "platform/fake/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvane;
    fake::Reset();
    fake::AddFile("Art\\Fuzz.kvp", std::vector<uint8_t>(data, data + size));
    for (const PixelLayout layout : {PixelLayout::Rgb565, PixelLayout::Rgb555}) {
        videoDevice.layout = layout;
        Image image;
        if (ImageLoad(&image, "Art\\Fuzz.kvp", 16) == 0) {
            if (image.Loaded()) {
                std::abort();  // a failed load leaves nothing behind
            }
            continue;
        }
        const uint64_t pixels = uint64_t{image.width} * image.height;
        if (pixels == 0 || 14 + pixels * 3 > size) {
            std::abort();
        }
        // Every pixel is its file bytes packed; reading them all also lets
        // the address checker see the whole block.
        for (uint64_t p = 0; p < pixels; ++p) {
            const uint8_t* bgr = data + 14 + p * 3;
            const auto x = static_cast<uint32_t>(p % image.width);
            const auto y = static_cast<uint32_t>(p / image.width);
            if (image.PixelAt(x, y) != PackPixel(layout, bgr[2], bgr[1], bgr[0])) {
                std::abort();
            }
        }
        std::vector<uint16_t> rows(pixels + 2);
        ImageCopyRows(rows.data(), image, static_cast<int32_t>(image.width * 2), image.width,
                      image.height + 1, 16);
    }
    return 0;
}
