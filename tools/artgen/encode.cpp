#include "tools/artgen/encode.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "gfx/kvp_format.h"
#include "platform/common/png_encoder.h"
#include "platform/pixel_565.h"
#include "tools/assetkit/det_math.h"

namespace korvane::artgen {

using assetkit::Clamp;

namespace {

// Threshold of an 8x8 ordered-dither matrix, in (0, 1).
double BayerThreshold(int x, int y) {
    const int a = (x ^ y) & 7;
    const int b = y & 7;
    int rank = 0;
    for (int bit = 0; bit < 3; ++bit) {
        rank = (rank << 2) | (((a >> bit) & 1) << 1) | ((b >> bit) & 1);
    }
    return (static_cast<double>(rank) + 0.5) / 64.0;
}

std::uint8_t DitherTo5Bits(double value, double threshold) {
    const double level = std::floor(Clamp(value, 0.0, 1.0) * 31.0 + threshold);
    const int five = static_cast<int>(Clamp(level, 0.0, 31.0));
    return platform::WidenChannel(static_cast<std::uint32_t>(five), 5);
}

std::uint8_t RoundTo8Bits(double value) {
    return static_cast<std::uint8_t>(std::floor(Clamp(value, 0.0, 1.0) * 255.0 + 0.5));
}

}  // namespace

Pixels QuantiseForDisplay(const Canvas& canvas) {
    Pixels out{canvas.Width(), canvas.Height(), 3, {}};
    out.bytes.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) *
                      3);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgb c = canvas.At(x, y);
            const double t = BayerThreshold(x, y);
            out.bytes.push_back(DitherTo5Bits(c.r, t));
            out.bytes.push_back(DitherTo5Bits(c.g, t));
            out.bytes.push_back(DitherTo5Bits(c.b, t));
        }
    }
    return out;
}

Pixels RoundToRgba(const Canvas& canvas) {
    Pixels out{canvas.Width(), canvas.Height(), 4, {}};
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgb c = canvas.At(x, y);
            const double a = canvas.AlphaAt(x, y);
            out.bytes.push_back(a > 0.0 ? RoundTo8Bits(c.r) : 0);
            out.bytes.push_back(a > 0.0 ? RoundTo8Bits(c.g) : 0);
            out.bytes.push_back(a > 0.0 ? RoundTo8Bits(c.b) : 0);
            out.bytes.push_back(RoundTo8Bits(a));
        }
    }
    return out;
}

std::vector<std::uint8_t> EncodeKvp(const Pixels& pixels) {
    const auto count = static_cast<std::uint32_t>(pixels.width * pixels.height);
    std::vector<std::uint8_t> file;
    file.reserve(kKvpHeaderBytes + static_cast<std::size_t>(count) * 3);
    AppendKvpHeader(file, static_cast<std::uint32_t>(pixels.width),
                    static_cast<std::uint32_t>(pixels.height));
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at =
            static_cast<std::size_t>(i) * static_cast<std::size_t>(pixels.channels);
        file.insert(file.end(), {pixels.bytes[at + 2], pixels.bytes[at + 1], pixels.bytes[at]});
    }
    return file;
}

std::vector<std::uint8_t> EncodePng(const Pixels& pixels) {
    return platform::EncodePng(static_cast<std::uint32_t>(pixels.width),
                               static_cast<std::uint32_t>(pixels.height),
                               static_cast<std::uint32_t>(pixels.channels), pixels.bytes);
}

std::string EncodeIconHeader(const Pixels& rgba) {
    std::string text =
        "// Made by korvane_artgen from the icon it draws; do not edit.\n"
        "#pragma once\n\n"
        "namespace korvane {\n\n"
        "// 32x32 pixels, top row first, red, green, blue, alpha per pixel.\n"
        "inline constexpr unsigned char kKorvaneIconRgba[32 * 32 * 4] = {\n";
    for (std::size_t i = 0; i < rgba.bytes.size(); ++i) {
        if (i % 16 == 0) {
            text += "   ";
        }
        char number[8];
        std::snprintf(number, sizeof number, " %u,", static_cast<unsigned>(rgba.bytes[i]));
        text += number;
        if (i % 16 == 15) {
            text += "\n";
        }
    }
    text += "};\n\n}  // namespace korvane\n";
    return text;
}

}  // namespace korvane::artgen
