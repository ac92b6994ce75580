#include "tests/screen/picture.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace korvane::screen {
namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

// The header of an X window dump is 25 big-endian 32-bit words; the ones read
// here are named by their place.
enum XwdField {
    kHeaderSize = 0,
    kVersion = 1,
    kFormat = 2,
    kWidth = 4,
    kHeight = 5,
    kByteOrder = 7,
    kBitsPerPixel = 11,
    kBytesPerLine = 12,
    kRedMask = 14,
    kGreenMask = 15,
    kBlueMask = 16,
    kColourCount = 19,
    kFieldCount = 25,
};

// One channel of a true-colour pixel, scaled to 0..255.
uint8_t Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1U) == 0) {
        ++shift;
    }
    const uint32_t top = mask >> shift;
    return static_cast<uint8_t>(((pixel & mask) >> shift) * 255U / top);
}

// A dump of a 24- or 32-bit true-colour screen in the Z format, the only kind
// a virtual display of depth 24 gives.
bool ReadXwd(const std::vector<uint8_t>& bytes, Picture* picture) {
    if (bytes.size() < 4 * kFieldCount) {
        return false;
    }
    uint32_t field[kFieldCount];
    for (int i = 0; i < kFieldCount; ++i) {
        field[i] = BigEndian32(&bytes[4 * static_cast<size_t>(i)]);
    }
    const uint32_t bits = field[kBitsPerPixel];
    constexpr uint32_t kZPixmap = 2;
    if (field[kVersion] != 7 || field[kFormat] != kZPixmap || (bits != 24 && bits != 32) ||
        field[kWidth] == 0 || field[kHeight] == 0 || field[kWidth] > 16384 ||
        field[kHeight] > 16384) {
        return false;
    }
    constexpr size_t kColourEntrySize = 12;
    const size_t start =
        size_t{field[kHeaderSize]} + size_t{field[kColourCount]} * kColourEntrySize;
    const size_t line = field[kBytesPerLine];
    const size_t step = bits / 8;
    if (line < field[kWidth] * step || start + line * field[kHeight] > bytes.size()) {
        return false;
    }
    picture->width = static_cast<int>(field[kWidth]);
    picture->height = static_cast<int>(field[kHeight]);
    picture->rgb.resize(3 * static_cast<size_t>(picture->width) * picture->height);
    const bool most_significant_first = field[kByteOrder] == 1;
    uint8_t* out = picture->rgb.data();
    for (int y = 0; y < picture->height; ++y) {
        const uint8_t* row = &bytes[start + line * y];
        for (int x = 0; x < picture->width; ++x) {
            const uint8_t* p = row + step * x;
            uint32_t pixel = 0;
            for (size_t b = 0; b < step; ++b) {
                const size_t place = most_significant_first ? step - 1 - b : b;
                pixel |= uint32_t{p[b]} << (8 * place);
            }
            *out++ = Channel(pixel, field[kRedMask]);
            *out++ = Channel(pixel, field[kGreenMask]);
            *out++ = Channel(pixel, field[kBlueMask]);
        }
    }
    return true;
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint8_t Paeth(int left, int up, int up_left) {
    const int p = left + up - up_left;
    const int pa = std::abs(p - left);
    const int pb = std::abs(p - up);
    const int pc = std::abs(p - up_left);
    if (pa <= pb && pa <= pc) {
        return static_cast<uint8_t>(left);
    }
    return static_cast<uint8_t>(pb <= pc ? up : up_left);
}

// 8-bit RGB or RGBA, not interlaced: what browsers write of a canvas and the
// headless build of its screens. Alpha is dropped; the canvas is opaque.
bool ReadPng(const std::vector<uint8_t>& bytes, Picture* picture) {
    size_t at = sizeof kPngSignature;
    uint32_t width = 0;
    uint32_t height = 0;
    size_t channels = 0;
    std::vector<uint8_t> packed;
    while (at + 12 <= bytes.size()) {
        const uint32_t length = BigEndian32(&bytes[at]);
        if (length > bytes.size() - at - 12) {
            return false;
        }
        const uint8_t* type = &bytes[at + 4];
        const uint8_t* body = &bytes[at + 8];
        if (std::memcmp(type, "IHDR", 4) == 0 && length >= 13) {
            width = BigEndian32(body);
            height = BigEndian32(body + 4);
            const uint8_t depth = body[8];
            const uint8_t colour = body[9];
            if (depth != 8 || (colour != 2 && colour != 6) || body[12] != 0) {
                return false;
            }
            channels = colour == 6 ? 4 : 3;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), body, body + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        at += 12 + size_t{length};
    }
    if (channels == 0 || width == 0 || height == 0 || width > 16384 || height > 16384) {
        return false;
    }
    const size_t row = width * channels;
    std::vector<uint8_t> raw((row + 1) * height);
    uLongf raw_size = raw.size();
    if (uncompress(raw.data(), &raw_size, packed.data(), packed.size()) != Z_OK ||
        raw_size != raw.size()) {
        return false;
    }
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->rgb.resize(3 * static_cast<size_t>(width) * height);
    std::vector<uint8_t> previous(row, 0);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* line = &raw[y * (row + 1) + 1];
        const uint8_t filter = line[-1];
        if (filter > 4) {
            return false;
        }
        for (size_t x = 0; x < row; ++x) {
            const int left = x >= channels ? line[x - channels] : 0;
            const int up = previous[x];
            const int up_left = x >= channels ? previous[x - channels] : 0;
            int predicted = 0;
            switch (filter) {
                case 1:
                    predicted = left;
                    break;
                case 2:
                    predicted = up;
                    break;
                case 3:
                    predicted = (left + up) / 2;
                    break;
                case 4:
                    predicted = Paeth(left, up, up_left);
                    break;
                default:
                    break;
            }
            line[x] = static_cast<uint8_t>(line[x] + predicted);
        }
        uint8_t* out = &picture->rgb[3 * static_cast<size_t>(y) * width];
        for (uint32_t x = 0; x < width; ++x) {
            std::memcpy(out + 3 * x, line + channels * x, 3);
        }
        previous.assign(line, line + row);
    }
    return true;
}

}  // namespace

bool ReadPicture(const std::vector<uint8_t>& bytes, Picture* picture) {
    if (bytes.size() >= sizeof kPngSignature &&
        std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0) {
        return ReadPng(bytes, picture);
    }
    return ReadXwd(bytes, picture);
}

bool LoadPicture(const std::string& path, Picture* picture) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    return ReadPicture(bytes, picture);
}

bool Differs(const uint8_t* a, const uint8_t* b) {
    // Test pictures and blocks differ from each other by far more; the
    // widenings of one 5-6-5 colour by less than 8.
    constexpr int kTolerance = 24;
    for (int c = 0; c < 3; ++c) {
        if (std::abs(a[c] - b[c]) > kTolerance) {
            return true;
        }
    }
    return false;
}

int64_t DifferingPixels(const Picture& a, const Picture& b, int tolerance) {
    if (a.width != b.width || a.height != b.height) {
        return int64_t{a.width} * a.height;
    }
    int64_t count = 0;
    for (size_t at = 0; at < a.rgb.size(); at += 3) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(a.rgb[at + c] - b.rgb[at + c]) > tolerance) {
                ++count;
                break;
            }
        }
    }
    return count;
}

}  // namespace korvane::screen
