#pragma once

#include <vector>

#include "tools/artgen/shapes.h"

namespace korvane::artgen {

// One letter of the face: its advance width in grid units and its strokes,
// with y from 0 (cap line) to 10 (base line).
struct Glyph {
    double width = 0.0;
    std::vector<std::vector<Point>> strokes;
};

// The glyph for c; aborts the generator on a character the face lacks, so a
// typo in a picture's text stops the build instead of drawing a gap.
const Glyph& GlyphFor(char c);

}  // namespace korvane::artgen
