#include "tools/artgen/encode.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "gfx/kvp_format.h"
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
    return static_cast<std::uint8_t>((five << 3) | (five >> 2));
}

std::uint8_t RoundTo8Bits(double value) {
    return static_cast<std::uint8_t>(std::floor(Clamp(value, 0.0, 1.0) * 255.0 + 0.5));
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1U) != 0U ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFFU] ^ (crc >> 8);
    }
    return crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian(out, Crc32(typed.data(), typed.size(), 0xFFFFFFFFU) ^ 0xFFFFFFFFU);
}

// A zlib stream of stored blocks (at most 65535 bytes each).
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length & 0xFF));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length & 0xFF));
        out.push_back(static_cast<std::uint8_t>((~length >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                   raw.begin() + static_cast<std::ptrdiff_t>(pos + length));
        pos += length;
    } while (pos < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521U;
        b = (b + a) % 65521U;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
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
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(pixels.width));
    PutBigEndian(header, static_cast<std::uint32_t>(pixels.height));
    header.push_back(8);                             // bits per channel
    header.push_back(pixels.channels == 4 ? 6 : 2);  // RGBA or RGB
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    PutChunk(out, "IHDR", header);

    const std::size_t row =
        static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.channels);
    std::vector<std::uint8_t> raw;
    raw.reserve((row + 1) * static_cast<std::size_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y) {
        raw.push_back(0);  // no filter
        const auto start =
            pixels.bytes.begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(y));
        raw.insert(raw.end(), start, start + static_cast<std::ptrdiff_t>(row));
    }
    PutChunk(out, "IDAT", StoredZlib(raw));
    PutChunk(out, "IEND", {});
    return out;
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
