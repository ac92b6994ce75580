#include "tools/artgen/blocks.h"

#include <algorithm>
#include <vector>

#include "tools/artgen/palette.h"
#include "tools/artgen/shapes.h"
#include "tools/assetkit/det_math.h"

namespace korvane::artgen {

namespace {

using assetkit::Clamp;

std::vector<Point> RegularPolygon(Point centre, double radius, int corners, double turn) {
    std::vector<Point> points;
    for (int i = 0; i <= corners; ++i) {
        const double angle = turn + assetkit::kTwoPi * static_cast<double>(i) / corners;
        points.push_back({centre.x + radius * assetkit::Sine(angle),
                          centre.y - radius * assetkit::Cosine(angle)});
    }
    return points;
}

// The small mark that tells the blocks apart without their colour.
Shape Mark(int index, Point c, double s) {
    const double w = s * 0.055;  // stroke half-width
    const double r = s * 0.16;
    switch (index) {
        case 0:
            return Circle(c, r * 0.85);
        case 1:
            return Strokes({RegularPolygon(c, r, 24, 0.0)}, w);
        case 2:
            return Strokes({RegularPolygon(c, r * 1.15, 4, 0.0)}, w);
        case 3:
            return Strokes({{{c.x - r, c.y}, {c.x + r, c.y}}, {{c.x, c.y - r}, {c.x, c.y + r}}}, w);
        case 4:
            return Strokes({{{c.x - r, c.y - r * 0.45}, {c.x + r, c.y - r * 0.45}},
                            {{c.x - r, c.y + r * 0.45}, {c.x + r, c.y + r * 0.45}}},
                           w);
        case 5:
            return Strokes({RegularPolygon({c.x, c.y + r * 0.15}, r * 1.1, 3, 0.0)}, w);
        case 6:
            return Strokes({{{c.x - r * 0.8, c.y - r * 0.8},
                             {c.x + r * 0.8, c.y - r * 0.8},
                             {c.x + r * 0.8, c.y + r * 0.8},
                             {c.x - r * 0.8, c.y + r * 0.8},
                             {c.x - r * 0.8, c.y - r * 0.8}}},
                           w);
        default:
            return Strokes({{{c.x - r * 0.8, c.y - r * 0.8}, {c.x + r * 0.8, c.y + r * 0.8}},
                            {{c.x + r * 0.8, c.y - r * 0.8}, {c.x - r * 0.8, c.y + r * 0.8}}},
                           w);
    }
}

}  // namespace

void DrawBlock(Canvas& canvas, double x, double y, double size, int index, double dim) {
    const Rgb base = Scale(palette::kBlocks[static_cast<std::size_t>(index) % 8], 1.0 - dim);
    const Box tile{x, y, x + size, y + size};
    const double edge = size / 24.0;  // one pixel on a game block
    const double bevel = size * 0.14;

    // A dark seam all round keeps neighbouring blocks apart.
    FillColour(canvas, tile, RoundRect(tile, edge * 1.5), Scale(base, 0.28));
    const Box body = tile.Grown(-edge);
    // The face: lit from the upper left, a little lighter at the top.
    Fill(canvas, body, RoundRect(body, edge), [&](double px, double py) {
        const double t = Clamp(((px - x) + (py - y)) / (2.0 * size), 0.0, 1.0);
        return Shade(base, 0.22 - 0.42 * t);
    });
    // Chunky flat bevel: bright top and left, dark bottom and right.
    const Box face = body.Grown(-bevel);
    for (int py = static_cast<int>(body.y0); py < static_cast<int>(body.y1 + 0.999); ++py) {
        for (int px = static_cast<int>(body.x0); px < static_cast<int>(body.x1 + 0.999); ++px) {
            const double cx = px + 0.5;
            const double cy = py + 0.5;
            const double left = cx - body.x0;
            const double top = cy - body.y0;
            const double right = body.x1 - cx;
            const double bottom = body.y1 - cy;
            const double nearest = std::min(std::min(left, right), std::min(top, bottom));
            if (nearest >= bevel || nearest < 0.0 || !canvas.Contains(px, py)) {
                continue;
            }
            double light = 0.0;
            if (nearest == top) {
                light = 0.55;
            } else if (nearest == left) {
                light = 0.32;
            } else if (nearest == right) {
                light = -0.30;
            } else {
                light = -0.48;
            }
            canvas.Set(px, py, Shade(base, light));
        }
    }
    // A soft gloss on the upper half of the face.
    Fill(
        canvas, face,
        RoundRect({face.x0, face.y0, face.x1, face.y0 + (face.y1 - face.y0) * 0.45}, edge * 2.0),
        [](double, double) {
            return Rgb{1.0, 1.0, 1.0};
        },
        0.16);
    // The engraved mark: a light lip below a dark cut. Tiles drawn too small
    // to show it (the icon's) go without.
    if (size < 16.0) {
        return;
    }
    const Point centre{(face.x0 + face.x1) * 0.5, (face.y0 + face.y1) * 0.5};
    FillColour(canvas, face, Mark(index, {centre.x + edge * 0.8, centre.y + edge * 0.8}, size),
               Shade(base, 0.55), 0.9);
    FillColour(canvas, face, Mark(index, centre, size), Scale(base, 0.42), 0.95);
}

Canvas MakeBlockPicture(int index) {
    Canvas canvas(24, 24, Rgb{0.0, 0.0, 0.0});
    DrawBlock(canvas, 0.0, 0.0, 24.0, index);
    return canvas;
}

}  // namespace korvane::artgen
