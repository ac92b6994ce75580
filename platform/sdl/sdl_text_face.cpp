// Faces read by SDL2_ttf from the file fontconfig found.
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>

#include "platform/sdl/sdl_text_face.h"
#include "platform/sdl/sdl_text_font.h"

namespace korvane::platform::sdl {

namespace {

struct TtfCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
struct SurfaceFreer {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

class TrueTypeFace : public platform::SizedFace {
  public:
    explicit TrueTypeFace(std::unique_ptr<TTF_Font, TtfCloser> font)
        : SizedFace(TTF_FontHeight(font.get())), font_(std::move(font)) {}

  protected:
    // The character drawn alone in white; its alpha is the coverage.
    void Make(char c, platform::GlyphMask* mask) override {
        int minX = 0;
        int maxX = 0;
        int minY = 0;
        int maxY = 0;
        int advance = 0;
        if (TTF_GlyphMetrics32(font_.get(), static_cast<Uint32>(c), &minX, &maxX, &minY, &maxY,
                               &advance) != 0) {
            return;
        }
        mask->advance = advance;
        const char text[2] = {c, '\0'};
        std::unique_ptr<SDL_Surface, SurfaceFreer> drawn(
            TTF_RenderUTF8_Blended(font_.get(), text, SDL_Color{255, 255, 255, 255}));
        if (!drawn) {
            return;  // a space: nothing to draw
        }
        std::unique_ptr<SDL_Surface, SurfaceFreer> argb(
            SDL_ConvertSurfaceFormat(drawn.get(), SDL_PIXELFORMAT_ARGB8888, 0));
        if (!argb || SDL_LockSurface(argb.get()) != 0) {
            return;
        }
        mask->width = argb->w;
        mask->height = argb->h;
        mask->coverage.resize(static_cast<size_t>(argb->w) * argb->h);
        for (int y = 0; y < argb->h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch);
            for (int x = 0; x < argb->w; ++x) {
                mask->coverage[static_cast<size_t>(y) * argb->w + x] =
                    static_cast<uint8_t>(row[x] >> 24);
            }
        }
        SDL_UnlockSurface(argb.get());
    }

  private:
    std::unique_ptr<TTF_Font, TtfCloser> font_;
};

bool StartTtf() {
    return TTF_WasInit() != 0 || TTF_Init() == 0;
}

}  // namespace

std::unique_ptr<platform::SizedFace> OpenTrueTypeFace(const FontFace& face, int height,
                                                      int weight) {
    if (height == 0 || face.bytes.empty() || !StartTtf()) {
        return nullptr;
    }
    // A negative height asks for the character height, which is the font's
    // point size at 72 dots per inch; a positive one for the whole line.
    const int size = std::abs(height);
    SDL_RWops* bytes = SDL_RWFromConstMem(face.bytes.data(), static_cast<int>(face.bytes.size()));
    std::unique_ptr<TTF_Font, TtfCloser> ttf(TTF_OpenFontRW(bytes, 1, size));
    if (!ttf) {
        return nullptr;
    }
    if (height > 0 && TTF_FontHeight(ttf.get()) > 0) {
        TTF_SetFontSize(ttf.get(), std::max(1, size * size / TTF_FontHeight(ttf.get())));
    }
    if (weight >= 600 && !face.bold) {
        TTF_SetFontStyle(ttf.get(), TTF_STYLE_BOLD);
    }
    return std::make_unique<TrueTypeFace>(std::move(ttf));
}

}  // namespace korvane::platform::sdl
