#include "tools/artgen/canvas.h"

#include "tools/assetkit/det_math.h"

namespace korvane::artgen {

using assetkit::Clamp;

Rgb Hex(std::uint32_t rrggbb) {
    return {static_cast<double>((rrggbb >> 16) & 0xFF) / 255.0,
            static_cast<double>((rrggbb >> 8) & 0xFF) / 255.0,
            static_cast<double>(rrggbb & 0xFF) / 255.0};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, double factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

Rgb Shade(Rgb c, double amount) {
    if (amount >= 0.0) {
        return Mix(c, Rgb{1.0, 1.0, 1.0}, Clamp(amount, 0.0, 1.0));
    }
    return Scale(c, 1.0 - Clamp(-amount, 0.0, 1.0));
}

Canvas::Canvas(int width, int height, Rgb fill, double alpha)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill),
      alpha_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), alpha) {}

void Canvas::Blend(int x, int y, Rgb c, double opacity) {
    if (!Contains(x, y) || opacity <= 0.0) {
        return;
    }
    const double a = Clamp(opacity, 0.0, 1.0);
    const std::size_t i = Index(x, y);
    const double below = alpha_[i] * (1.0 - a);
    const double out = a + below;
    const Rgb d = pixels_[i];
    pixels_[i] = {(c.r * a + d.r * below) / out, (c.g * a + d.g * below) / out,
                  (c.b * a + d.b * below) / out};
    alpha_[i] = out;
}

}  // namespace korvane::artgen
