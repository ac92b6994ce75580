#pragma once
// Screenshots as the end-to-end tests take them, read into plain 8-bit RGB:
// X window dumps (xwd, from a virtual display) and PNG files (what a browser
// gives of its canvas).
#include <cstdint>
#include <string>
#include <vector>

namespace korvane::screen {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, row after row from the top

    const uint8_t* At(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }
};

// Either kind, told by its first bytes. False for anything else, or a file
// cut short.
bool ReadPicture(const std::vector<uint8_t>& bytes, Picture* picture);
bool LoadPicture(const std::string& path, Picture* picture);

// Whether two colours differ by more than the small drift between how X, a
// browser's canvas and the headless build widen 5-6-5 to 8 bits.
bool Differs(const uint8_t* a, const uint8_t* b);

// How many pixels of two pictures differ in any channel by more than
// `tolerance` (0: any difference at all); every pixel when their sizes do.
int64_t DifferingPixels(const Picture& a, const Picture& b, int tolerance);

}  // namespace korvane::screen
