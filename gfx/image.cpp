#include "gfx/image.h"

#include <cstddef>
#include <cstring>

#include "gfx/video.h"
#include "platform/files.h"

namespace korvane {
namespace {

// The whole file in one block, or an empty block. A short read is a failure:
// a file that shrank under us cannot be trusted to hold what its header says.
platform::MemoryBlock ReadWholeFile(const char* path, uint32_t* size) {
    platform::File file = platform::FileOpen(path);
    if (!file) {
        return nullptr;
    }
    if (!platform::FileSize(*file, size) || *size < kKvpHeaderBytes) {
        return nullptr;
    }
    platform::MemoryBlock bytes = platform::AllocateBlock(*size, "image.file");
    if (!bytes) {
        return nullptr;
    }
    uint32_t read = 0;
    if (!platform::FileRead(*file, bytes.get(), *size, &read) || read != *size) {
        return nullptr;
    }
    return bytes;
}

// Whether the header describes exactly the pixels that follow it: a positive
// size, N equal to 3 x width x height, and all N bytes present.
bool WellFormed(uint32_t width, uint32_t height, uint32_t dataSize, uint32_t fileSize) {
    if (width == 0 || height == 0) {
        return false;
    }
    const uint64_t pixels = static_cast<uint64_t>(width) * height;
    return pixels * 3 == dataSize && dataSize <= fileSize - kKvpHeaderBytes;
}

}  // namespace

uint16_t Image::PixelAt(uint32_t column, uint32_t row) const {
    uint16_t pixel = 0;
    std::memcpy(&pixel, pixels.get() + (static_cast<size_t>(row) * width + column) * 2, 2);
    return pixel;
}

int ImageLoad(Image* out, const char* path, uint32_t depth) {
    uint32_t fileSize = 0;
    const platform::MemoryBlock file = ReadWholeFile(path, &fileSize);
    if (!file) {
        return 0;
    }
    const KvpHeader header = ReadKvpHeader(file.get());
    const uint32_t width = header.width;
    const uint32_t height = header.height;
    if (depth != 16 || !WellFormed(width, height, header.dataBytes, fileSize)) {
        return 0;
    }
    const size_t pixelCount = static_cast<size_t>(width) * height;
    out->pixels = platform::AllocateBlock(pixelCount * 2, "image");
    out->width = out->pixels ? width : 0;
    out->height = out->pixels ? height : 0;
    if (!out->pixels) {
        return 0;
    }
    const PixelLayout layout = videoDevice.layout;
    const uint8_t* source = file.get() + kKvpHeaderBytes;
    uint8_t* target = out->pixels.get();
    for (size_t p = 0; p < pixelCount; ++p, source += 3, target += 2) {
        const uint16_t pixel = PackPixel(layout, source[2], source[1], source[0]);
        std::memcpy(target, &pixel, 2);
    }
    return 1;
}

void ImageFree(Image* image) {
    image->pixels.reset();
    image->width = 0;
    image->height = 0;
}

int ImageCopyRows(void* destination, const Image& image, int32_t pitch, uint32_t width,
                  uint32_t height, uint32_t /*depth*/) {
    return ImageCopyRowsCut(destination, image, pitch, width, width, height);
}

int ImageCopyRowsCut(void* destination, const Image& image, int32_t pitch, uint32_t imageWidth,
                     uint32_t copyWidth, uint32_t height) {
    // Deliberate: rows move as whole 32-bit words, so an odd width drops each
    // row's last pixel; the game's pictures are all of even width.
    const size_t rowBytes = static_cast<size_t>(copyWidth) * 2 / 4 * 4;
    const size_t sourceStride = static_cast<size_t>(imageWidth) * 2;
    const size_t imageBytes = static_cast<size_t>(image.width) * image.height * 2;
    auto* base = static_cast<uint8_t*>(destination);
    for (uint32_t row = 0; row < height; ++row) {
        const size_t from = row * sourceStride;
        // A caller asking for more than the picture holds gets what it holds.
        if (!image.Loaded() || from + rowBytes > imageBytes) {
            break;
        }
        std::memcpy(base + static_cast<ptrdiff_t>(row) * pitch, image.pixels.get() + from,
                    rowBytes);
    }
    return 1;
}

}  // namespace korvane
