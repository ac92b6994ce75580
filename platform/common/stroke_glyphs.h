#pragma once
// The game's one letter face: a chamfered stroke alphabet of our own on a
// grid ten units high. The art generator letters the pictures with it, and
// the backends that draw the counters themselves write them with it, so the
// same strokes give the same pixels everywhere. Besides A-Z and 0-9 it knows
// space . : - / and four arrows, written '[' (left), ']' (right), '{' (up)
// and '}' (down).
#include <vector>

namespace korvane::platform {

struct StrokePoint {
    double x = 0.0;
    double y = 0.0;
};

// Polylines; a line of one point is a dot.
using StrokeLines = std::vector<std::vector<StrokePoint>>;

// One letter: its advance width in grid units and its strokes, with y from 0
// (cap line) to 10 (base line).
struct StrokeGlyph {
    double width = 0.0;
    StrokeLines strokes;
};

// The glyph for `c`, or null for a character the face lacks.
const StrokeGlyph* FindStrokeGlyph(char c);

// How far (x, y) lies from the nearest point of any of the lines' centre
// lines; a stroke of half-width w covers what lies closer than w.
double StrokeDistance(const StrokeLines& lines, double x, double y);

}  // namespace korvane::platform
