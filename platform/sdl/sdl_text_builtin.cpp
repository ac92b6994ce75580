// The game's own lettering as a face of last resort: the chamfered stroke
// alphabet the art generator letters the pictures with, drawn at the size the
// counters ask for, so they are written even where no font is installed.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "platform/sdl/sdl_text_face.h"
#include "tools/artgen/glyphs.h"

namespace korvane::platform::sdl {
namespace {

// What the stroke alphabet has; anything else is a space.
constexpr std::string_view kDrawn = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:-/";

// The alphabet's glyphs stand on a grid 10 units from cap line to base line.
constexpr double kCapUnits = 10.0;
constexpr double kSpacingUnits = 1.8;  // between two letters
constexpr double kSpaceUnits = 4.0;

class BuiltInFace : public SizedFace {
  public:
    BuiltInFace(int lineHeight, double capHeight, double halfStroke)
        : SizedFace(lineHeight), unit_(capHeight / kCapUnits), halfStroke_(halfStroke) {}

  protected:
    void Make(char c, GlyphMask* mask) override {
        const auto upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (kDrawn.find(upper) == std::string_view::npos) {
            mask->advance = static_cast<int>(std::lround(kSpaceUnits * unit_));
            return;
        }
        const artgen::Glyph& glyph = artgen::GlyphFor(upper);
        const double margin = std::ceil(halfStroke_) + 1;
        const double top = (LineHeight() - kCapUnits * unit_) / 2;
        std::vector<std::vector<artgen::Point>> lines;
        for (const auto& stroke : glyph.strokes) {
            auto& line = lines.emplace_back();
            std::transform(stroke.begin(), stroke.end(), std::back_inserter(line),
                           [&](const artgen::Point& p) {
                               return artgen::Point{margin + p.x * unit_, top + p.y * unit_};
                           });
        }
        const artgen::Shape shape = artgen::Strokes(std::move(lines), halfStroke_);
        mask->left = -static_cast<int>(margin);
        mask->width = static_cast<int>(std::ceil(glyph.width * unit_ + 2 * margin));
        mask->height = LineHeight();
        mask->advance = static_cast<int>(std::lround((glyph.width + kSpacingUnits) * unit_));
        mask->coverage.assign(static_cast<size_t>(mask->width) * mask->height, 0);
        for (int y = 0; y < mask->height; ++y) {
            for (int x = 0; x < mask->width; ++x) {
                // Covered by how far the pixel's centre lies inside the stroke.
                const double inside = 0.5 - shape(x + 0.5, y + 0.5);
                mask->coverage[static_cast<size_t>(y) * mask->width + x] =
                    static_cast<uint8_t>(std::lround(std::clamp(inside, 0.0, 1.0) * 255));
            }
        }
    }

  private:
    double unit_;
    double halfStroke_;
};

}  // namespace

std::unique_ptr<SizedFace> OpenBuiltInFace(int height, int weight) {
    if (height == 0) {
        return nullptr;
    }
    // A character height (negative) is the em; a line height leaves room for
    // the leading. Capitals and digits take about seven tenths of the em.
    const int size = std::abs(height);
    const double em = height < 0 ? size : size * 0.85;
    const double capHeight = em * 0.72;
    const double halfStroke = capHeight * (weight >= 600 ? 0.085 : 0.055);
    return std::make_unique<BuiltInFace>(size, capHeight, halfStroke);
}

}  // namespace korvane::platform::sdl
