#pragma once

#include <cstdint>
#include <vector>

namespace korvane::artgen {

// A colour as the screen shows it (not linear light), each channel 0 to 1.
struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

Rgb Hex(std::uint32_t rrggbb);
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double factor);
// Towards white for amount > 0, towards black for amount < 0.
Rgb Shade(Rgb c, double amount);

// A picture in working precision with coverage, composited with "over".
class Canvas {
  public:
    Canvas(int width, int height, Rgb fill, double alpha = 1.0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb At(int x, int y) const { return pixels_[Index(x, y)]; }
    double AlphaAt(int x, int y) const { return alpha_[Index(x, y)]; }
    void Set(int x, int y, Rgb c) { pixels_[Index(x, y)] = c; }
    // Paints c over the pixel with the given opacity; outside the canvas it does nothing.
    void Blend(int x, int y, Rgb c, double opacity);

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
    std::vector<double> alpha_;
};

}  // namespace korvane::artgen
