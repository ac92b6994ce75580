// Counter text on the SDL display: SDL2_ttf draws with a face that
// fontconfig finds, blended onto the 16-bit pixels with the background
// showing through.
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/display.h"
#include "platform/sdl/sdl_display_surface.h"
#include "platform/sdl/sdl_text_font.h"

namespace korvane::platform {

struct TextContext {
    Surface* surface = nullptr;
    Font* font = nullptr;
};

struct TtfCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};

struct Font {
    std::unique_ptr<TTF_Font, TtfCloser> ttf;
};

namespace {

struct SdlSurfaceFreer {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

struct TextState {
    std::vector<std::unique_ptr<TextContext>> contexts;
    std::vector<std::unique_ptr<Font>> fonts;
};
TextState text;

bool StartTtf() {
    return TTF_WasInit() != 0 || TTF_Init() == 0;
}

// Blends one 8-bit channel of the text over a 5- or 6-bit channel of the
// surface and answers the result at the surface's width.
uint32_t Blend(uint32_t over, uint32_t under, int bits, uint32_t alpha) {
    const uint32_t max = (1U << bits) - 1;
    const uint32_t overScaled = (over * max + 127) / 255;
    return (overScaled * alpha + under * (255 - alpha) + 127) / 255;
}

uint16_t BlendPixel(uint16_t under, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    const uint32_t r = Blend(red, (under >> 11) & 0x1F, 5, alpha);
    const uint32_t g = Blend(green, (under >> 5) & 0x3F, 6, alpha);
    const uint32_t b = Blend(blue, under & 0x1F, 5, alpha);
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

void BlendOnto(Surface& target, const SDL_Surface& glyphs, int x, int y, const Rect& clip) {
    const int left = std::max({clip.left, 0, x});
    const int top = std::max({clip.top, 0, y});
    const int right = std::min({clip.right, static_cast<int32_t>(target.width), x + glyphs.w});
    const int bottom = std::min({clip.bottom, static_cast<int32_t>(target.height), y + glyphs.h});
    const auto* rows = static_cast<const uint8_t*>(glyphs.pixels);
    for (int py = top; py < bottom; ++py) {
        const auto* row = reinterpret_cast<const uint32_t*>(rows + (py - y) * glyphs.pitch);
        for (int px = left; px < right; ++px) {
            uint8_t r = 0;
            uint8_t g = 0;
            uint8_t b = 0;
            uint8_t a = 0;
            SDL_GetRGBA(row[px - x], glyphs.format, &r, &g, &b, &a);
            if (a == 0) {
                continue;
            }
            const auto ux = static_cast<uint32_t>(px);
            const auto uy = static_cast<uint32_t>(py);
            target.Set(ux, uy, BlendPixel(target.Get(ux, uy), r, g, b, a));
        }
    }
}

}  // namespace

TextContext* SurfaceGetTextContext(Surface* surface) {
    if (surface == nullptr) {
        return nullptr;
    }
    text.contexts.push_back(std::make_unique<TextContext>());
    text.contexts.back()->surface = surface;
    return text.contexts.back().get();
}

bool SurfaceReleaseTextContext(Surface* /*surface*/, TextContext* context) {
    auto held = std::find_if(text.contexts.begin(), text.contexts.end(),
                             [context](const auto& c) { return c.get() == context; });
    if (held == text.contexts.end()) {
        return false;
    }
    text.contexts.erase(held);
    return true;
}

Font* TextFontCreate(int32_t height, int32_t weight, const char* face) {
    const sdl::FontFace* found = sdl::FindFontFace(face != nullptr ? face : "");
    if (found == nullptr || height == 0 || !StartTtf()) {
        return nullptr;
    }
    // A negative height asks for the character height, which is the font's
    // point size at 72 dots per inch; a positive one for the whole line.
    const int size = std::abs(height);
    SDL_RWops* bytes =
        SDL_RWFromConstMem(found->bytes.data(), static_cast<int>(found->bytes.size()));
    std::unique_ptr<TTF_Font, TtfCloser> ttf(TTF_OpenFontRW(bytes, 1, size));
    if (!ttf) {
        return nullptr;
    }
    if (height > 0 && TTF_FontHeight(ttf.get()) > 0) {
        TTF_SetFontSize(ttf.get(), std::max(1, size * size / TTF_FontHeight(ttf.get())));
    }
    if (weight >= 600 && !found->bold) {
        TTF_SetFontStyle(ttf.get(), TTF_STYLE_BOLD);
    }
    text.fonts.push_back(std::make_unique<Font>());
    text.fonts.back()->ttf = std::move(ttf);
    return text.fonts.back().get();
}

Font* TextFontSelect(TextContext* context, Font* font) {
    if (context == nullptr) {
        return nullptr;
    }
    Font* previous = context->font;
    context->font = font;
    return previous;
}

void TextFontDelete(Font* font) {
    auto held = std::find_if(text.fonts.begin(), text.fonts.end(),
                             [font](const auto& f) { return f.get() == font; });
    if (held != text.fonts.end()) {
        text.fonts.erase(held);
    }
}

bool TextDrawString(TextContext* context, const char* string, int32_t count, const Rect& box,
                    uint32_t format, uint32_t color) {
    if (context == nullptr || context->font == nullptr || string == nullptr || count <= 0) {
        return false;
    }
    const std::string drawn(string, static_cast<size_t>(count));
    const SDL_Color ink = {static_cast<uint8_t>(color & 0xFF),
                           static_cast<uint8_t>((color >> 8) & 0xFF),
                           static_cast<uint8_t>((color >> 16) & 0xFF), 255};
    std::unique_ptr<SDL_Surface, SdlSurfaceFreer> rendered(
        TTF_RenderUTF8_Blended(context->font->ttf.get(), drawn.c_str(), ink));
    if (!rendered) {
        return false;
    }
    std::unique_ptr<SDL_Surface, SdlSurfaceFreer> glyphs(
        SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!glyphs || SDL_LockSurface(glyphs.get()) != 0) {
        return false;
    }
    int x = box.left;
    int y = box.top;
    if ((format & kTextCenter) != 0) {
        x += (box.right - box.left - glyphs->w) / 2;
    }
    if ((format & kTextVerticalCenter) != 0) {
        y += (box.bottom - box.top - glyphs->h) / 2;
    }
    BlendOnto(*context->surface, *glyphs, x, y, box);
    SDL_UnlockSurface(glyphs.get());
    return true;
}

}  // namespace korvane::platform
