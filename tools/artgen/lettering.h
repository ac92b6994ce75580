#pragma once

#include <string_view>
#include <vector>

#include "tools/artgen/canvas.h"
#include "tools/artgen/shapes.h"

namespace korvane::artgen {

// Pictures are lettered in the game's one letter face
// (platform/common/stroke_glyphs.h), rasterised by distance, so every size is
// anti-aliased the same way.
struct TextLayout {
    std::vector<std::vector<Point>> strokes;
    Box bounds;  // the cap box of the laid-out text, strokes not included
};

struct TextStyle {
    double cap_height = 20.0;
    double weight = 1.6;    // half the stroke width, in pixels
    double tracking = 2.4;  // space between letters, in grid units
    double slant = 0.0;     // horizontal shift per unit of height, for italics
};

// Lays out one line with its cap box's top-left corner at (x, y).
TextLayout LayOut(std::string_view text, double x, double y, const TextStyle& style);
// Width of the cap box LayOut would make.
double TextWidth(std::string_view text, const TextStyle& style);

// How a line of lettering is painted.
struct Lettering {
    Rgb top;
    Rgb middle;
    Rgb bottom;
    Rgb outline = Rgb{0.02, 0.02, 0.06};
    double outline_width = 1.5;
    double shadow = 2.0;  // offset of the drop shadow, 0 for none
    double shadow_opacity = 0.6;
    double bevel = 0.45;  // strength of the light on the strokes' rims
    Rgb glow = Rgb{0.0, 0.0, 0.0};
    double glow_radius = 0.0;
    double glow_opacity = 0.0;
    double opacity = 1.0;
};

// Draws a laid-out line: glow, shadow, outline, gradient body, lit rims.
void DrawText(Canvas& canvas, const TextLayout& layout, const TextStyle& style,
              const Lettering& look);
// Lays out and draws text centred on cx with its cap box top at y.
void DrawTextCentred(Canvas& canvas, std::string_view text, double cx, double y,
                     const TextStyle& style, const Lettering& look);

}  // namespace korvane::artgen
