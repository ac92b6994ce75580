#pragma once
// Pictures: the 16-bit images made from .kvp files (gfx/kvp_format.h).
#include <cstdint>

#include "gfx/kvp_format.h"
#include "platform/memory.h"

namespace korvane {

// The display's 16-bit pixel layouts.
//   Rgb565: red 15-11, green 10-6 (bit 5 always 0), blue 4-0
//   Rgb555: bit 15 always 0, red 14-10, green 9-5, blue 4-0
enum class PixelLayout : uint8_t { Rgb565 = 0, Rgb555 = 1 };

// Packs 8-bit channels into one pixel of `layout`.
constexpr uint16_t PackPixel(PixelLayout layout, uint8_t red, uint8_t green, uint8_t blue) {
    // Deliberate: in 5-6-5 green keeps only its top five bits, placed at bits
    // 10-6; the pictures and the colour fill were made to match this, so a
    // loaded pixel and a filled colour of the same value stay equal.
    const int redShift = layout == PixelLayout::Rgb555 ? 10 : 11;
    const int greenShift = layout == PixelLayout::Rgb555 ? 5 : 6;
    return static_cast<uint16_t>(((red >> 3) << redShift) | ((green >> 3) << greenShift) |
                                 (blue >> 3));
}

// A picture of width x height 16-bit pixels, top row first, no gap between
// rows. Empty when nothing is loaded. Movable, not copyable.
struct Image {
    platform::MemoryBlock pixels;
    uint32_t width = 0;
    uint32_t height = 0;

    bool Loaded() const { return pixels != nullptr; }
    // The pixel at `column`, `row`; both must lie inside the picture.
    uint16_t PixelAt(uint32_t column, uint32_t row) const;
};

// Reads a .kvp file (a game path such as "Art\\Main.kvp") into `out`, packing
// its pixels in the video device's current layout. Only depth 16 is made.
// 1 on success; 0 for a missing, unreadable or malformed file, no memory, or
// another depth, without any message and with nothing left allocated (`out`
// is untouched when the depth is refused).
int ImageLoad(Image* out, const char* path, uint32_t depth);

// Gives the pixels back; safe on an empty image.
void ImageFree(Image* image);

// Copies `height` rows of `width` pixels from `image` into locked surface
// memory whose rows start `pitch` bytes apart. Rows move as whole 32-bit
// words, so an odd width leaves each row's last pixel uncopied; the bytes
// between a row's end and the next row's start are not touched. Never reads
// beyond the image. Always 1; `depth` is not used.
int ImageCopyRows(void* destination, const Image& image, int32_t pitch, uint32_t width,
                  uint32_t height, uint32_t depth);

// The same for the left `copyWidth` pixels of each row of a picture
// `imageWidth` pixels wide: a picture cut at a surface's right edge.
int ImageCopyRowsCut(void* destination, const Image& image, int32_t pitch, uint32_t imageWidth,
                     uint32_t copyWidth, uint32_t height);

}  // namespace korvane
