#pragma once

#include <array>

#include "tools/artgen/canvas.h"

namespace korvane::artgen::palette {

// Night-blue backgrounds, steel frames, amber title, cyan labels.
inline const Rgb kSkyTop = Hex(0x0A0E2A);
inline const Rgb kSkyBottom = Hex(0x1C1246);
inline const Rgb kWell = Hex(0x060914);
inline const Rgb kWellLine = Hex(0x111A33);
inline const Rgb kPanel = Hex(0x10183A);
inline const Rgb kPanelEdge = Hex(0x2E4A86);
inline const Rgb kSteelLight = Hex(0x9CB4E0);
inline const Rgb kSteel = Hex(0x4C6AA8);
inline const Rgb kSteelDark = Hex(0x1E2C58);
inline const Rgb kCounter = Hex(0x04060E);
inline const Rgb kInk = Hex(0x05040C);

inline const Rgb kGoldTop = Hex(0xFFF4C0);
inline const Rgb kGold = Hex(0xFFC43A);
inline const Rgb kGoldBottom = Hex(0xE0601A);
inline const Rgb kGlowWarm = Hex(0xFF8A2A);

inline const Rgb kCyanTop = Hex(0xE0FAFF);
inline const Rgb kCyan = Hex(0x6ED8FF);
inline const Rgb kCyanBottom = Hex(0x2E86D0);
inline const Rgb kGlowCool = Hex(0x2A8CFF);

inline const Rgb kText = Hex(0xE8ECF8);
inline const Rgb kTextDim = Hex(0x6A7396);

// The eight block colours, from a palette chosen to stay apart for the
// common kinds of colour blindness; their lightness differs as well, and
// each block also carries its own mark.
inline const std::array<Rgb, 8> kBlocks = {
    Hex(0xD0401C),  // vermilion, mark: dot
    Hex(0x56B4E9),  // sky blue, mark: ring
    Hex(0xF0E442),  // yellow, mark: diamond
    Hex(0x1F5FC0),  // blue, mark: plus
    Hex(0xE69F00),  // orange, mark: two bars
    Hex(0x009E73),  // bluish green, mark: triangle
    Hex(0xCC79A7),  // reddish purple, mark: square
    Hex(0xB4BAC6),  // silver, mark: cross
};

}  // namespace korvane::artgen::palette
