#include "tools/artgen/lettering.h"

#include <cstdio>
#include <cstdlib>

#include "platform/common/stroke_glyphs.h"
#include "tools/assetkit/det_math.h"

namespace korvane::artgen {

namespace {

constexpr double kGridHeight = 10.0;

// A character the face lacks stops the generator, so a typo in a picture's
// text stops the build instead of drawing a gap.
const platform::StrokeGlyph& GlyphFor(char c) {
    const platform::StrokeGlyph* glyph = platform::FindStrokeGlyph(c);
    if (glyph == nullptr) {
        std::fprintf(stderr, "the letter face has no glyph for '%c'\n", c);
        std::abort();
    }
    return *glyph;
}

Paint ThreeStop(const Box& cap, const Lettering& look) {
    return [cap, look](double, double y) {
        const double t = assetkit::Clamp((y - cap.y0) / (cap.y1 - cap.y0), 0.0, 1.0);
        if (t < 0.5) {
            return Mix(look.top, look.middle, t * 2.0);
        }
        return Mix(look.middle, look.bottom, (t - 0.5) * 2.0);
    };
}

}  // namespace

double TextWidth(std::string_view text, const TextStyle& style) {
    const double unit = style.cap_height / kGridHeight;
    double cursor = 0.0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        cursor += GlyphFor(text[i]).width;
        if (i + 1 < text.size()) {
            cursor += style.tracking;
        }
    }
    return cursor * unit;
}

TextLayout LayOut(std::string_view text, double x, double y, const TextStyle& style) {
    const double unit = style.cap_height / kGridHeight;
    TextLayout layout;
    double cursor = 0.0;
    for (const char c : text) {
        const platform::StrokeGlyph& glyph = GlyphFor(c);
        for (const auto& stroke : glyph.strokes) {
            std::vector<Point> placed;
            placed.reserve(stroke.size());
            for (const Point& p : stroke) {
                const double slanted = p.x + style.slant * (kGridHeight - p.y);
                placed.push_back({x + (cursor + slanted) * unit, y + p.y * unit});
            }
            layout.strokes.push_back(std::move(placed));
        }
        cursor += glyph.width + style.tracking;
    }
    layout.bounds = {x, y, x + TextWidth(text, style) + style.slant * style.cap_height,
                     y + style.cap_height};
    return layout;
}

void DrawText(Canvas& canvas, const TextLayout& layout, const TextStyle& style,
              const Lettering& look) {
    const double outer = style.weight + look.outline_width;
    const Box area = layout.bounds.Grown(outer + 2.0);
    const Shape body = Strokes(layout.strokes, style.weight);
    const Shape rim = Strokes(layout.strokes, outer);
    if (look.glow_radius > 0.0) {
        Glow(canvas, area, rim, look.glow_radius, look.glow, look.glow_opacity * look.opacity);
    }
    if (look.shadow > 0.0) {
        Shadow(canvas, area, rim, look.shadow, look.shadow, 1.2,
               look.shadow_opacity * look.opacity);
    }
    if (look.outline_width > 0.0) {
        FillColour(canvas, area, rim, look.outline, look.opacity);
    }
    Fill(canvas, area, body, ThreeStop(layout.bounds, look), look.opacity);
    if (look.bevel > 0.0) {
        Bevel(canvas, area, body, style.weight, look.bevel * look.opacity);
    }
}

void DrawTextCentred(Canvas& canvas, std::string_view text, double cx, double y,
                     const TextStyle& style, const Lettering& look) {
    const double width = TextWidth(text, style) + style.slant * style.cap_height;
    DrawText(canvas, LayOut(text, cx - width * 0.5, y, style), style, look);
}

}  // namespace korvane::artgen
