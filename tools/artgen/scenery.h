#pragma once

#include <string_view>

#include "tools/artgen/canvas.h"
#include "tools/artgen/lettering.h"
#include "tools/artgen/shapes.h"

namespace korvane::artgen {

// Pieces of the look shared by every screen.

// Night-blue gradient with a soft light from above, faint stars and darker corners.
void PaintBackdrop(Canvas& canvas, unsigned seed);
// The KORVANE title in amber, centred on cx with its cap line at y.
void DrawTitle(Canvas& canvas, double cx, double y, double cap_height);
// A raised steel-rimmed panel with a dark glassy face.
void DrawPanel(Canvas& canvas, Box box, double radius);
// A sunken dark well for something drawn later (a counter, the preview).
void DrawInset(Canvas& canvas, Box inside, double rim);
// A key cap with its letter; a dimmed one belongs to a key that does nothing.
void DrawKeyCap(Canvas& canvas, double x, double y, double size, std::string_view key, bool live);
// A decorative piece: four blocks at cell offsets (cx, cy) in units of size.
void DrawPiece(Canvas& canvas, double x, double y, double size, int colour,
               const int (&cells)[4][2], double dim);

// The styles of the lettering.
Lettering TitleLook();
Lettering LabelLook();
Lettering PlainLook(Rgb colour);

}  // namespace korvane::artgen
