#include "tools/artgen/scenery.h"

#include <cmath>

#include "tools/artgen/blocks.h"
#include "tools/artgen/palette.h"
#include "tools/assetkit/det_math.h"
#include "tools/assetkit/random.h"

namespace korvane::artgen {

using assetkit::Clamp;
using assetkit::SmoothStep;

void PaintBackdrop(Canvas& canvas, unsigned seed) {
    const double w = canvas.Width();
    const double h = canvas.Height();
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            Rgb c = Mix(palette::kSkyTop, palette::kSkyBottom, py / h);
            // A wide soft light high in the middle.
            const double dx = (px - w * 0.5) / (w * 0.55);
            const double dy = (py - h * 0.28) / (h * 0.55);
            const double light = assetkit::Exp(-(dx * dx + dy * dy) * 1.6);
            c = Mix(c, Hex(0x34307A), light * 0.55);
            // Darker corners.
            const double vx = (px / w - 0.5) * 2.0;
            const double vy = (py / h - 0.5) * 2.0;
            const double vignette = SmoothStep(0.55, 1.6, std::sqrt(vx * vx + vy * vy));
            c = Scale(c, 1.0 - vignette * 0.55);
            canvas.Set(x, y, c);
        }
    }
    // A faint diagonal lattice gives the dark some texture.
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const int u = (x + y) % 48;
            const int v = (x - y + 4800) % 48;
            if (u == 0 || v == 0) {
                canvas.Blend(x, y, Hex(0x5A66C8), 0.06);
            }
        }
    }
    assetkit::Random random(seed);
    for (int i = 0; i < 140; ++i) {
        const double sx = random.Unit() * w;
        const double sy = random.Unit() * h;
        const double size = 0.5 + random.Unit() * random.Unit() * 1.3;
        const double bright = 0.25 + random.Unit() * 0.55;
        FillColour(canvas, Box{sx - 3, sy - 3, sx + 3, sy + 3}, Circle({sx, sy}, size),
                   Mix(palette::kCyanTop, palette::kGoldTop, random.Unit()), bright);
    }
}

Lettering TitleLook() {
    Lettering look;
    look.top = palette::kGoldTop;
    look.middle = palette::kGold;
    look.bottom = palette::kGoldBottom;
    look.outline = Hex(0x2A0C04);
    look.outline_width = 2.2;
    look.shadow = 4.0;
    look.shadow_opacity = 0.65;
    look.bevel = 0.55;
    look.glow = palette::kGlowWarm;
    look.glow_radius = 16.0;
    look.glow_opacity = 0.35;
    return look;
}

Lettering LabelLook() {
    Lettering look;
    look.top = palette::kCyanTop;
    look.middle = palette::kCyan;
    look.bottom = palette::kCyanBottom;
    look.outline = Hex(0x030818);
    look.outline_width = 1.3;
    look.shadow = 2.0;
    look.bevel = 0.35;
    look.glow = palette::kGlowCool;
    look.glow_radius = 7.0;
    look.glow_opacity = 0.25;
    return look;
}

Lettering PlainLook(Rgb colour) {
    Lettering look;
    look.top = Shade(colour, 0.25);
    look.middle = colour;
    look.bottom = Shade(colour, -0.2);
    look.outline = Hex(0x030616);
    look.outline_width = 1.2;
    look.shadow = 1.5;
    look.bevel = 0.25;
    return look;
}

void DrawTitle(Canvas& canvas, double cx, double y, double cap_height) {
    TextStyle style;
    style.cap_height = cap_height;
    style.weight = cap_height * 0.085;
    style.tracking = 2.6;
    style.slant = 0.12;
    DrawTextCentred(canvas, "KORVANE", cx, y, style, TitleLook());
}

void DrawPanel(Canvas& canvas, Box box, double radius) {
    const Shape outer = RoundRect(box, radius);
    Shadow(canvas, box, outer, 5.0, 7.0, 9.0, 0.55);
    Fill(canvas, box, outer,
         VerticalGradient(box.y0, box.y1, palette::kSteel, palette::kSteelDark));
    Bevel(canvas, box, outer, 4.0, 0.7);
    const Box inner = box.Grown(-5.0);
    const Shape face = RoundRect(inner, radius - 3.0 > 1.0 ? radius - 3.0 : 1.0);
    Fill(canvas, inner, face, VerticalGradient(inner.y0, inner.y1, Hex(0x18245A), Hex(0x0B1030)),
         0.96);
    Bevel(canvas, inner, face, 3.0, -0.6);
    // A faint sheen across the top of the glass.
    Fill(canvas, inner,
         RoundRect(
             {inner.x0 + 2, inner.y0 + 2, inner.x1 - 2, inner.y0 + (inner.y1 - inner.y0) * 0.3},
             radius * 0.6),
         VerticalGradient(inner.y0, inner.y0 + (inner.y1 - inner.y0) * 0.3, Rgb{1, 1, 1},
                          palette::kSkyTop),
         0.06);
}

void DrawInset(Canvas& canvas, Box inside, double rim) {
    const Box outer = inside.Grown(rim);
    const Shape frame = RoundRect(outer, rim + 2.0);
    Fill(canvas, outer, frame,
         VerticalGradient(outer.y0, outer.y1, palette::kSteelDark, palette::kSteel));
    Bevel(canvas, outer, frame, rim, 0.55);
    // The floor stays plain so what is drawn on it reads clearly.
    FillColour(canvas, inside, RoundRect(inside, 2.0), palette::kCounter);
    Bevel(canvas, inside, RoundRect(inside, 2.0), 2.0, -0.5);
}

void DrawKeyCap(Canvas& canvas, double x, double y, double size, std::string_view key, bool live) {
    const Box cap{x, y, x + size, y + size};
    const Shape shape = RoundRect(cap, size * 0.18);
    const double fade = live ? 1.0 : 0.45;
    Shadow(canvas, cap, shape, 2.0, 3.0, 3.0, 0.6);
    const Rgb top = live ? Hex(0xF4F6FF) : Hex(0x59607A);
    const Rgb bottom = live ? Hex(0xA8B6D8) : Hex(0x323850);
    Fill(canvas, cap, shape, VerticalGradient(cap.y0, cap.y1, top, bottom));
    Bevel(canvas, cap, shape, size * 0.12, 0.6 * fade);
    // The dished top of the cap.
    const Box dish = cap.Grown(-size * 0.14).Moved(0.0, -size * 0.03);
    Fill(canvas, dish, RoundRect(dish, size * 0.12),
         VerticalGradient(dish.y0, dish.y1, Shade(bottom, 0.1), Shade(top, -0.02)), 0.8);
    TextStyle style;
    style.cap_height = size * 0.42;
    style.weight = size * 0.045;
    Lettering ink;
    ink.top = live ? Hex(0x1A1E3A) : Hex(0x252A40);
    ink.middle = ink.top;
    ink.bottom = ink.top;
    ink.outline_width = 0.0;
    ink.shadow = 0.0;
    ink.bevel = 0.0;
    DrawTextCentred(canvas, key, x + size * 0.5, y + size * 0.27, style, ink);
}

void DrawPiece(Canvas& canvas, double x, double y, double size, int colour,
               const int (&cells)[4][2], double dim) {
    for (const auto& cell : cells) {
        const Box tile{x + cell[0] * size, y + cell[1] * size, x + (cell[0] + 1) * size,
                       y + (cell[1] + 1) * size};
        Shadow(canvas, tile, RoundRect(tile, 2.0), 4.0, 6.0, 5.0, 0.35);
    }
    for (const auto& cell : cells) {
        DrawBlock(canvas, x + cell[0] * size, y + cell[1] * size, size, colour, dim);
    }
}

}  // namespace korvane::artgen
