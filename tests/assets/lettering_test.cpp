#include <gtest/gtest.h>

#include "tools/artgen/lettering.h"
#include "tools/artgen/shapes.h"

namespace korvane::test {
namespace {

using namespace artgen;

TEST(Lettering, WidthGrowsWithTextAndSize) {
    TextStyle small;
    small.cap_height = 10;
    TextStyle large = small;
    large.cap_height = 20;
    EXPECT_GT(TextWidth("KORVANE", small), TextWidth("KOR", small));
    EXPECT_DOUBLE_EQ(TextWidth("LEVEL", large), 2.0 * TextWidth("LEVEL", small));
    EXPECT_EQ(TextWidth("", small), 0.0);
}

TEST(Lettering, LaidOutStrokesStayInsideTheCapBox) {
    TextStyle style;
    style.cap_height = 30;
    const TextLayout layout = LayOut("SCORE 09", 100, 50, style);
    ASSERT_FALSE(layout.strokes.empty());
    for (const auto& stroke : layout.strokes) {
        for (const Point& p : stroke) {
            EXPECT_GE(p.x, layout.bounds.x0 - 0.01);
            EXPECT_LE(p.x, layout.bounds.x1 + 0.01);
            EXPECT_GE(p.y, layout.bounds.y0 - 1.5);  // a few glyphs reach past the cap line
            EXPECT_LE(p.y, layout.bounds.y1 + 1.5);
        }
    }
}

TEST(Lettering, DrawingInksOnlyNearTheText) {
    Canvas canvas(120, 40, Rgb{0, 0, 0});
    TextStyle style;
    style.cap_height = 20;
    Lettering look;
    look.top = look.middle = look.bottom = Rgb{1, 1, 1};
    look.shadow = 0;
    look.outline_width = 0;
    look.bevel = 0;
    DrawText(canvas, LayOut("I", 10, 10, style), style, look);
    // The stem of the I is lit; far from it the canvas is untouched.
    const double stem_x = 10 + TextWidth("I", style) / 2;
    EXPECT_GT(canvas.At(static_cast<int>(stem_x), 20).r, 0.9);
    EXPECT_EQ(canvas.At(100, 20).r, 0.0);
    EXPECT_EQ(canvas.At(stem_x, 2).r, 0.0);
}

TEST(Shapes, RoundRectDistanceIsSignedAndRounded) {
    const Shape box = RoundRect({0, 0, 10, 10}, 2);
    EXPECT_LT(box(5, 5), 0.0);
    EXPECT_NEAR(box(5, 0), 0.0, 1e-12);
    EXPECT_NEAR(box(15, 5), 5.0, 1e-12);
    // The corner is cut round: the square's corner point lies outside.
    EXPECT_GT(box(0, 0), 0.0);
}

}  // namespace
}  // namespace korvane::test
