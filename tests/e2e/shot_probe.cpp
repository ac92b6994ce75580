// Reads a screenshot (an X window dump, as xwd writes it) and answers the
// questions the end-to-end tests ask:
//   shot_probe SHOT pixel X Y          -> "R G B"
//   shot_probe SHOT blocks X0 Y0 X1 Y1 R G B
//        -> "count X0 Y0 X1 Y1": how many pixels in the rectangle differ from
//           the colour R G B by more than 24 in any channel, and their
//           bounding box ("0 -1 -1 -1 -1" when none)
//   shot_probe SHOT grid X0 Y0 CELL COLUMNS ROWS R G B [SHOT...]
//        -> ROWS lines of COLUMNS characters, top row first: '#' where the
//           middle pixel of that CELL-sized square, counted from X0 Y0,
//           differs from R G B as above, '.' where it does not; then the
//           same for each further SHOT (one program for a burst of shots)
//   shot_probe SHOT size               -> "W H"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
};

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

uint32_t BigEndian32(const std::vector<uint8_t>& bytes, size_t at) {
    return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
           (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
}

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
bool LoadXwd(const std::vector<uint8_t>& bytes, Picture* picture) {
    if (bytes.size() < 4 * kFieldCount) {
        return false;
    }
    uint32_t field[kFieldCount];
    for (int i = 0; i < kFieldCount; ++i) {
        field[i] = BigEndian32(bytes, 4 * static_cast<size_t>(i));
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

bool Load(const char* path, Picture* picture) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    return LoadXwd(bytes, picture);
}

bool Differs(const uint8_t* p, const int background[3]) {
    for (int c = 0; c < 3; ++c) {
        if (std::abs(p[c] - background[c]) > 24) {
            return true;
        }
    }
    return false;
}

struct Grid {
    int x0, y0, cell, columns, rows;
    int background[3];
};

bool Fits(const Grid& grid, const Picture& picture) {
    return grid.x0 >= 0 && grid.y0 >= 0 && grid.cell > 0 && grid.columns > 0 && grid.rows > 0 &&
           grid.x0 + grid.columns * grid.cell <= picture.width &&
           grid.y0 + grid.rows * grid.cell <= picture.height;
}

void PrintGrid(const Grid& grid, const Picture& picture) {
    std::string line;
    for (int row = 0; row < grid.rows; ++row) {
        line.clear();
        for (int column = 0; column < grid.columns; ++column) {
            const uint8_t* p = picture.At(grid.x0 + column * grid.cell + grid.cell / 2,
                                          grid.y0 + row * grid.cell + grid.cell / 2);
            line += Differs(p, grid.background) ? '#' : '.';
        }
        std::printf("%s\n", line.c_str());
    }
}

int Usage() {
    std::fprintf(stderr,
                 "usage: shot_probe SHOT pixel X Y | blocks X0 Y0 X1 Y1 R G B"
                 " | grid X0 Y0 CELL COLUMNS ROWS R G B [SHOT...] | size\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    Picture picture;
    if (!Load(argv[1], &picture)) {
        std::fprintf(stderr, "shot_probe: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string question = argv[2];
    auto number = [&](int i) { return std::atoi(argv[i]); };
    if (question == "size") {
        std::printf("%d %d\n", picture.width, picture.height);
        return 0;
    }
    if (question == "pixel" && argc == 5) {
        const int x = number(3);
        const int y = number(4);
        if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
            return Usage();
        }
        const uint8_t* p = picture.At(x, y);
        std::printf("%d %d %d\n", p[0], p[1], p[2]);
        return 0;
    }
    if (question == "blocks" && argc == 10) {
        const int x0 = std::max(0, number(3));
        const int y0 = std::max(0, number(4));
        const int x1 = std::min(picture.width - 1, number(5));
        const int y1 = std::min(picture.height - 1, number(6));
        const int background[3] = {number(7), number(8), number(9)};
        int count = 0;
        int bx0 = -1, by0 = -1, bx1 = -1, by1 = -1;
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                if (!Differs(picture.At(x, y), background)) {
                    continue;
                }
                bx0 = count == 0 ? x : std::min(bx0, x);
                by0 = count == 0 ? y : std::min(by0, y);
                bx1 = std::max(bx1, x);
                by1 = std::max(by1, y);
                ++count;
            }
        }
        std::printf("%d %d %d %d %d\n", count, bx0, by0, bx1, by1);
        return 0;
    }
    if (question == "grid" && argc >= 11) {
        const Grid grid{number(3), number(4), number(5),
                        number(6), number(7), {number(8), number(9), number(10)}};
        if (!Fits(grid, picture)) {
            return Usage();
        }
        PrintGrid(grid, picture);
        // Further shots after the arguments, each answered in turn; one that
        // cannot be read shows as rows of '?'.
        int status = 0;
        for (int i = 11; i < argc; ++i) {
            Picture more;
            if (Load(argv[i], &more) && Fits(grid, more)) {
                PrintGrid(grid, more);
            } else {
                std::fprintf(stderr, "shot_probe: cannot read %s\n", argv[i]);
                const std::string unknown(static_cast<size_t>(grid.columns), '?');
                for (int row = 0; row < grid.rows; ++row) {
                    std::printf("%s\n", unknown.c_str());
                }
                status = 1;
            }
        }
        return status;
    }
    return Usage();
}
