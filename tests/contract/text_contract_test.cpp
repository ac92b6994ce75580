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

TEST_F(TextTest, LettersLandInsideTheirBoxAndNowhereElse) {
    platform::Surface* surface = platform::SurfaceCreateOffscreen(200, 80, 0);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(platform::SurfaceFill(surface, kPaper), platform::BlitResult::Ok);
    platform::TextContext* context = platform::SurfaceGetTextContext(surface);
    ASSERT_NE(context, nullptr);
    platform::Font* font = platform::TextFontCreate(-24, 700, "Impact");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(platform::TextFontSelect(context, font), nullptr) << "a fresh context has none";
    const uint32_t format =
        platform::kTextCenter | platform::kTextVerticalCenter | platform::kTextSingleLine;

    const platform::Rect box{40, 20, 160, 60};
    ASSERT_TRUE(platform::TextDrawString(context, "123456", 6, box, format, 0x00FFFFFF));
    const Ink wide = InkAround(surface, box);
    EXPECT_GT(wide.inside, 60) << "six digits are drawn";
    EXPECT_EQ(wide.outside, 0);

    // A box narrower than the text cuts it at the box's edges.
    ASSERT_EQ(platform::SurfaceFill(surface, kPaper), platform::BlitResult::Ok);
    const platform::Rect narrow{90, 30, 110, 50};
    ASSERT_TRUE(platform::TextDrawString(context, "888888", 6, narrow, format, 0x0000FFFF));
    const Ink cut = InkAround(surface, narrow);
    EXPECT_GT(cut.inside, 10);
    EXPECT_EQ(cut.outside, 0);

    // Zero characters draw nothing and are no error.
    ASSERT_EQ(platform::SurfaceFill(surface, kPaper), platform::BlitResult::Ok);
    EXPECT_TRUE(platform::TextDrawString(context, "8", 0, box, format, 0x00FFFFFF));
    EXPECT_EQ(InkAround(surface, box).inside, 0);
    EXPECT_FALSE(platform::TextDrawString(context, "8", -1, box, format, 0x00FFFFFF));

    EXPECT_EQ(platform::TextFontSelect(context, nullptr), font) << "the previous font comes back";
    platform::TextFontDelete(font);
    EXPECT_TRUE(platform::SurfaceReleaseTextContext(surface, context));
    EXPECT_FALSE(platform::SurfaceReleaseTextContext(surface, context)) << "released twice";
    EXPECT_FALSE(platform::TextDrawString(context, "1", 1, box, format, 0x00FFFFFF))
        << "a released context draws nothing";
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
