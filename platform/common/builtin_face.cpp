// The game's own stroke lettering as a face: the alphabet the pictures are
// lettered with, drawn at the size the counters ask for, the same pixels on
// every machine and in every browser.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "platform/common/drawn_face.h"
#include "platform/common/stroke_glyphs.h"

namespace korvane::platform {
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
        const StrokeGlyph* glyph =
            kDrawn.find(upper) != std::string_view::npos ? FindStrokeGlyph(upper) : nullptr;
        if (glyph == nullptr) {
            mask->advance = static_cast<int>(std::lround(kSpaceUnits * unit_));
            return;
        }
        const double margin = std::ceil(halfStroke_) + 1;
        const double top = (LineHeight() - kCapUnits * unit_) / 2;
        StrokeLines lines;
        for (const auto& stroke : glyph->strokes) {
            auto& line = lines.emplace_back();
            std::transform(stroke.begin(), stroke.end(), std::back_inserter(line),
                           [&](const StrokePoint& p) {
                               return StrokePoint{margin + p.x * unit_, top + p.y * unit_};
                           });
        }
        mask->left = -static_cast<int>(margin);
        mask->width = static_cast<int>(std::ceil(glyph->width * unit_ + 2 * margin));
        mask->height = LineHeight();
        mask->advance = static_cast<int>(std::lround((glyph->width + kSpacingUnits) * unit_));
        mask->coverage.assign(static_cast<size_t>(mask->width) * mask->height, 0);
        for (int y = 0; y < mask->height; ++y) {
            for (int x = 0; x < mask->width; ++x) {
                // Covered by how far the pixel's centre lies inside the stroke.
                const double inside = 0.5 - (StrokeDistance(lines, x + 0.5, y + 0.5) - halfStroke_);
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

}  // namespace korvane::platform
