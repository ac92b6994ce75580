#include "tools/artgen/ico.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "tools/assetkit/byte_writer.h"

namespace korvane::artgen {
namespace {

constexpr int kPaletteSize = 256;
constexpr std::uint8_t kOpaqueAlpha = 128;

struct PaletteColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator<(const PaletteColour& other) const {
        return std::tie(red, green, blue) < std::tie(other.red, other.green, other.blue);
    }
};

// Levels of the fallback colour cube: 6 of red and blue, 7 of green.
std::uint8_t CubeLevel(std::uint8_t value, int levels) {
    return static_cast<std::uint8_t>((value * (levels - 1) + 127) / 255);
}

std::uint8_t CubeValue(int level, int levels) {
    return static_cast<std::uint8_t>(level * 255 / (levels - 1));
}

// The palette and each pixel's index into it.
struct Indexed {
    std::vector<PaletteColour> palette;
    std::vector<std::uint8_t> indices;
};

Indexed ToIndexed(const Pixels& rgba) {
    const size_t count = static_cast<size_t>(rgba.width) * rgba.height;
    auto pixel = [&](size_t i) {
        return PaletteColour{rgba.bytes[i * 4], rgba.bytes[i * 4 + 1], rgba.bytes[i * 4 + 2]};
    };
    std::map<PaletteColour, std::uint8_t> exact;
    for (size_t i = 0; i < count && exact.size() <= kPaletteSize; ++i) {
        if (rgba.bytes[i * 4 + 3] >= kOpaqueAlpha) {
            exact.emplace(pixel(i), 0);
        }
    }
    Indexed out;
    out.indices.assign(count, 0);
    if (exact.size() <= kPaletteSize) {
        for (auto& [colour, index] : exact) {
            index = static_cast<std::uint8_t>(out.palette.size());
            out.palette.push_back(colour);
        }
        for (size_t i = 0; i < count; ++i) {
            const auto found = exact.find(pixel(i));
            out.indices[i] = found != exact.end() ? found->second : 0;
        }
        return out;
    }
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 7; ++g) {
            for (int b = 0; b < 6; ++b) {
                out.palette.push_back(
                    PaletteColour{CubeValue(r, 6), CubeValue(g, 7), CubeValue(b, 6)});
            }
        }
    }
    for (size_t i = 0; i < count; ++i) {
        const PaletteColour c = pixel(i);
        out.indices[i] = static_cast<std::uint8_t>(
            (CubeLevel(c.red, 6) * 7 + CubeLevel(c.green, 7)) * 6 + CubeLevel(c.blue, 6));
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeIco(const Pixels& rgba) {
    if (rgba.channels != 4 || rgba.width <= 0 || rgba.height <= 0 || rgba.width > 256 ||
        rgba.height > 256 ||
        rgba.bytes.size() != static_cast<size_t>(rgba.width) * rgba.height * 4) {
        return {};
    }
    const Indexed indexed = ToIndexed(rgba);
    const auto width = static_cast<std::uint32_t>(rgba.width);
    const auto height = static_cast<std::uint32_t>(rgba.height);
    // Rows of the colour indices and of the mask are padded to four bytes.
    const std::uint32_t indexRow = (width + 3) / 4 * 4;
    const std::uint32_t maskRow = (width + 31) / 32 * 4;
    const std::uint32_t imageBytes = 40 + kPaletteSize * 4 + (indexRow + maskRow) * height;

    assetkit::ByteWriter out;
    // The directory: one icon image, 256 colours; 256 is written as 0.
    out.U16(0);
    out.U16(1);
    out.U16(1);
    out.U8(static_cast<std::uint8_t>(width & 0xFF));
    out.U8(static_cast<std::uint8_t>(height & 0xFF));
    out.U8(0);
    out.U8(0);
    out.U16(1);
    out.U16(8);
    out.U32(imageBytes);
    out.U32(6 + 16);
    // The image: a bitmap header whose height counts the colours and the
    // mask together, the palette, then both bottom row first.
    out.U32(40);
    out.U32(width);
    out.U32(height * 2);
    out.U16(1);
    out.U16(8);
    out.U32(0);
    out.U32((indexRow + maskRow) * height);
    out.U32(0);
    out.U32(0);
    out.U32(kPaletteSize);
    out.U32(0);
    for (int i = 0; i < kPaletteSize; ++i) {
        const PaletteColour c = i < static_cast<int>(indexed.palette.size())
                                    ? indexed.palette[i]
                                    : PaletteColour{0, 0, 0};
        out.U8(c.blue);
        out.U8(c.green);
        out.U8(c.red);
        out.U8(0);
    }
    for (std::uint32_t row = height; row-- > 0;) {
        for (std::uint32_t x = 0; x < indexRow; ++x) {
            out.U8(x < width ? indexed.indices[row * width + x] : 0);
        }
    }
    for (std::uint32_t row = height; row-- > 0;) {
        std::vector<std::uint8_t> mask(maskRow, 0);
        for (std::uint32_t x = 0; x < width; ++x) {
            if (rgba.bytes[(row * width + x) * 4 + 3] < kOpaqueAlpha) {
                mask[x / 8] |= static_cast<std::uint8_t>(0x80U >> (x % 8));
            }
        }
        out.Bytes().insert(out.Bytes().end(), mask.begin(), mask.end());
    }
    return out.Bytes();
}

}  // namespace korvane::artgen
