#include "tools/artgen/shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tools/assetkit/det_math.h"

namespace korvane::artgen {

using assetkit::Clamp;
using assetkit::SmoothStep;

namespace {

// Visits the centre of every pixel whose square meets bounds.
template <typename Visit>
void ForPixels(const Canvas& canvas, Box bounds, Visit visit) {
    const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x0)));
    const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y0)));
    const int x1 = std::min(canvas.Width(), static_cast<int>(std::ceil(bounds.x1)));
    const int y1 = std::min(canvas.Height(), static_cast<int>(std::ceil(bounds.y1)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            visit(x, y, static_cast<double>(x) + 0.5, static_cast<double>(y) + 0.5);
        }
    }
}

}  // namespace

Shape RoundRect(Box box, double radius) {
    return [box, radius](double x, double y) {
        const double cx = (box.x0 + box.x1) * 0.5;
        const double cy = (box.y0 + box.y1) * 0.5;
        const double hx = (box.x1 - box.x0) * 0.5 - radius;
        const double hy = (box.y1 - box.y0) * 0.5 - radius;
        const double qx = std::fabs(x - cx) - hx;
        const double qy = std::fabs(y - cy) - hy;
        const double ox = std::max(qx, 0.0);
        const double oy = std::max(qy, 0.0);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

Shape Strokes(std::vector<std::vector<Point>> polylines, double half_width) {
    return [lines = std::move(polylines), half_width](double x, double y) {
        return platform::StrokeDistance(lines, x, y) - half_width;
    };
}

Shape Circle(Point centre, double radius) {
    return [centre, radius](double x, double y) {
        const double dx = x - centre.x;
        const double dy = y - centre.y;
        return std::sqrt(dx * dx + dy * dy) - radius;
    };
}

void Fill(Canvas& canvas, Box bounds, const Shape& shape, const Paint& paint, double opacity) {
    ForPixels(canvas, bounds, [&](int x, int y, double px, double py) {
        const double coverage = Clamp(0.5 - shape(px, py), 0.0, 1.0);
        if (coverage > 0.0) {
            canvas.Blend(x, y, paint(px, py), coverage * opacity);
        }
    });
}

void FillColour(Canvas& canvas, Box bounds, const Shape& shape, Rgb colour, double opacity) {
    Fill(
        canvas, bounds, shape, [colour](double, double) { return colour; }, opacity);
}

void Shadow(Canvas& canvas, Box bounds, const Shape& shape, double dx, double dy, double blur,
            double opacity, Rgb colour) {
    ForPixels(canvas, bounds.Moved(dx, dy).Grown(blur), [&](int x, int y, double px, double py) {
        const double d = shape(px - dx, py - dy);
        const double a = 1.0 - SmoothStep(-blur, blur, d);
        canvas.Blend(x, y, colour, a * opacity);
    });
}

void Bevel(Canvas& canvas, Box bounds, const Shape& shape, double width, double strength) {
    constexpr double kLightX = -0.6;
    constexpr double kLightY = -0.8;
    ForPixels(canvas, bounds, [&](int x, int y, double px, double py) {
        const double d = shape(px, py);
        if (d >= 0.5 || d <= -width) {
            return;
        }
        const double gx = shape(px + 0.5, py) - shape(px - 0.5, py);
        const double gy = shape(px, py + 0.5) - shape(px, py - 0.5);
        const double length = std::sqrt(gx * gx + gy * gy);
        if (length < 1e-9) {
            return;
        }
        // The rim faces outwards, so it catches the light where its normal
        // points towards the upper left.
        const double facing = (gx * kLightX + gy * kLightY) / length;
        const double rim = 1.0 - SmoothStep(0.0, width, -d);
        const double coverage = Clamp(0.5 - d, 0.0, 1.0);
        const double amount = facing * strength * rim;
        if (amount > 0.0) {
            canvas.Blend(x, y, Rgb{1.0, 1.0, 1.0}, amount * coverage);
        } else {
            canvas.Blend(x, y, Rgb{0.0, 0.0, 0.0}, -amount * coverage);
        }
    });
}

void Glow(Canvas& canvas, Box bounds, const Shape& shape, double radius, Rgb colour,
          double opacity) {
    ForPixels(canvas, bounds.Grown(radius), [&](int x, int y, double px, double py) {
        const double d = shape(px, py);
        if (d <= 0.0 || d >= radius) {
            return;
        }
        const double t = 1.0 - d / radius;
        canvas.Blend(x, y, colour, t * t * opacity);
    });
}

Paint VerticalGradient(double y0, double y1, Rgb top, Rgb bottom) {
    return
        [=](double, double y) { return Mix(top, bottom, Clamp((y - y0) / (y1 - y0), 0.0, 1.0)); };
}

}  // namespace korvane::artgen
