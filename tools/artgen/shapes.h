#pragma once

#include <functional>
#include <vector>

#include "platform/common/stroke_glyphs.h"
#include "tools/artgen/canvas.h"

namespace korvane::artgen {

// A rectangle in pixel-edge coordinates: pixel (x, y) covers x..x+1, y..y+1.
struct Box {
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
    Box Grown(double by) const { return {x0 - by, y0 - by, x1 + by, y1 + by}; }
    Box Moved(double dx, double dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
};

// The same points as the letter face's strokes, so its glyphs draw as shapes.
using Point = platform::StrokePoint;

// Signed distance, negative inside.
using Shape = std::function<double(double x, double y)>;
// Colour of a covered point.
using Paint = std::function<Rgb(double x, double y)>;

Shape RoundRect(Box box, double radius);
// The area within half_width of any of the polylines (a point alone is a dot).
Shape Strokes(std::vector<std::vector<Point>> polylines, double half_width);
Shape Circle(Point centre, double radius);

// Fills the shape within bounds, anti-aliased by its distance.
void Fill(Canvas& canvas, Box bounds, const Shape& shape, const Paint& paint, double opacity = 1.0);
void FillColour(Canvas& canvas, Box bounds, const Shape& shape, Rgb colour, double opacity = 1.0);
// A soft shadow of the shape moved by (dx, dy), fading over blur pixels.
void Shadow(Canvas& canvas, Box bounds, const Shape& shape, double dx, double dy, double blur,
            double opacity, Rgb colour = Rgb{0.0, 0.0, 0.0});
// Light from the upper left on a rim of the given width inside the shape:
// raised (strength > 0) lights the upper-left rim, sunken (< 0) the lower-right.
void Bevel(Canvas& canvas, Box bounds, const Shape& shape, double width, double strength);
// A ring of colour around the shape, fading outwards over radius pixels.
void Glow(Canvas& canvas, Box bounds, const Shape& shape, double radius, Rgb colour,
          double opacity);

Paint VerticalGradient(double y0, double y1, Rgb top, Rgb bottom);

}  // namespace korvane::artgen
