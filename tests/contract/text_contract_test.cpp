// The text context's promises: letters land inside their box and nowhere
// else, in the colour asked for, on the surface the context was got for; the
// font handles come and go as the game asks every frame.
#include <vector>

#include "tests/contract/contract_fixture.h"

namespace korvane::contract {
namespace {

class TextTest : public DisplayContract {};

constexpr uint16_t kPaper = 0x0000;

// How many pixels differ from the paper inside and outside `box`.
struct Ink {
    int inside = 0;
    int outside = 0;
};
Ink InkAround(platform::Surface* surface, const platform::Rect& box) {
    uint32_t width = 0;
    uint32_t height = 0;
    platform::SurfaceSize(surface, &width, &height);
    const std::vector<uint16_t> pixels = Pixels(surface);
    Ink ink;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (pixels[static_cast<size_t>(y) * width + x] == kPaper) {
                continue;
            }
            const bool inside =
                static_cast<int32_t>(x) >= box.left && static_cast<int32_t>(x) < box.right &&
                static_cast<int32_t>(y) >= box.top && static_cast<int32_t>(y) < box.bottom;
            ++(inside ? ink.inside : ink.outside);
        }
    }
    return ink;
}

constexpr uint32_t kCentred =
    platform::kTextCenter | platform::kTextVerticalCenter | platform::kTextSingleLine;

// Draws as the game does in a frame: a context, a font selected into it, the
// text, the previous font back, the font deleted and the context given back.
// The surface's pixels can only be read once the context is given back.
bool WriteText(platform::Surface* surface, const char* text, int32_t count,
               const platform::Rect& box, uint32_t color) {
    platform::TextContext* context = platform::SurfaceGetTextContext(surface);
    EXPECT_NE(context, nullptr);
    if (context == nullptr) {
        return false;
    }
    platform::Font* font = platform::TextFontCreate(-24, 700, "Impact");
    EXPECT_NE(font, nullptr);
    platform::Font* previous = platform::TextFontSelect(context, font);
    const bool drawn = platform::TextDrawString(context, text, count, box, kCentred, color);
    EXPECT_EQ(platform::TextFontSelect(context, previous), font) << "the font comes back out";
    platform::TextFontDelete(font);
    EXPECT_TRUE(platform::SurfaceReleaseTextContext(surface, context));
    return drawn;
}

TEST_F(TextTest, LettersLandInsideTheirBoxAndNowhereElse) {
    platform::Surface* surface = platform::SurfaceCreateOffscreen(200, 80, 0);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(platform::SurfaceFill(surface, kPaper), platform::BlitResult::Ok);
    const platform::Rect box{40, 20, 160, 60};
    EXPECT_TRUE(WriteText(surface, "123456", 6, box, 0x00FFFFFF));
    const Ink wide = InkAround(surface, box);
    EXPECT_GT(wide.inside, 60) << "six digits are drawn";
    EXPECT_EQ(wide.outside, 0);

    // A box narrower than the text cuts it at the box's edges.
    ASSERT_EQ(platform::SurfaceFill(surface, kPaper), platform::BlitResult::Ok);
    const platform::Rect narrow{90, 30, 110, 50};
    EXPECT_TRUE(WriteText(surface, "888888", 6, narrow, 0x0000FFFF));
    const Ink cut = InkAround(surface, narrow);
    EXPECT_GT(cut.inside, 10);
    EXPECT_EQ(cut.outside, 0);

    // Zero characters draw nothing and are no error; a negative count is
    // refused and draws nothing either.
    ASSERT_EQ(platform::SurfaceFill(surface, kPaper), platform::BlitResult::Ok);
    EXPECT_TRUE(WriteText(surface, "8", 0, box, 0x00FFFFFF));
    EXPECT_FALSE(WriteText(surface, "8", -1, box, 0x00FFFFFF));
    EXPECT_EQ(InkAround(surface, box).inside, 0);

    platform::TextContext* context = platform::SurfaceGetTextContext(surface);
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(platform::SurfaceReleaseTextContext(surface, context));
    EXPECT_FALSE(platform::SurfaceReleaseTextContext(surface, context)) << "released twice";
    EXPECT_FALSE(platform::TextDrawString(context, "1", 1, box, kCentred, 0x00FFFFFF))
        << "a released context draws nothing";
    EXPECT_EQ(InkAround(surface, box).inside, 0);
    platform::SurfaceRelease(surface);
}

TEST_F(TextTest, AFrameOfFontsAndContextsCanBeMadeAndGivenBackForever) {
    // The game makes and deletes its font and context every frame: far more
    // of them over a game than could ever be held at once.
    for (int frame = 0; frame < 1000; ++frame) {
        platform::TextContext* context = platform::SurfaceGetTextContext(back_);
        platform::Font* font = platform::TextFontCreate(-24, 700, "Impact");
        ASSERT_NE(context, nullptr) << frame;
        ASSERT_NE(font, nullptr) << frame;
        platform::TextFontSelect(context, font);
        platform::TextFontDelete(font);
        ASSERT_TRUE(platform::SurfaceReleaseTextContext(back_, context)) << frame;
    }
    EXPECT_EQ(platform::SurfaceGetTextContext(nullptr), nullptr);
}

}  // namespace
}  // namespace korvane::contract
