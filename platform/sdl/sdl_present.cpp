#include "platform/sdl/sdl_present.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace korvane::platform::sdl {
namespace {

struct SurfaceFreer {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

struct Presenter {
    SDL_Window* window = nullptr;
    int width = 640;
    int height = 480;
    bool whole = true;  // the next show sends everything
    // The window surface as last seen, to notice a new one.
    const SDL_Surface* seen = nullptr;
    int seenWidth = 0;
    int seenHeight = 0;
};
Presenter presenter;

// Where the picture goes in an output of `outWidth` x `outHeight`.
struct Placement {
    int scale = 0;  // whole multiple, or 0 when the output is smaller than the picture
    SDL_Rect target{};
};

Placement Place(int outWidth, int outHeight) {
    Placement p;
    if (outWidth >= presenter.width && outHeight >= presenter.height) {
        p.scale = std::min(outWidth / presenter.width, outHeight / presenter.height);
        p.target.w = presenter.width * p.scale;
        p.target.h = presenter.height * p.scale;
    } else if (outWidth * presenter.height <= outHeight * presenter.width) {
        p.target.w = outWidth;
        p.target.h = outWidth * presenter.height / presenter.width;
    } else {
        p.target.h = outHeight;
        p.target.w = outHeight * presenter.width / presenter.height;
    }
    p.target.x = (outWidth - p.target.w) / 2;
    p.target.y = (outHeight - p.target.h) / 2;
    return p;
}

// The part of `band` where `pixels` differ from `previous`; empty when none.
SDL_Rect ChangedPart(const uint8_t* pixels, int32_t pitch, const uint8_t* previous,
                     const SDL_Rect& band) {
    if (previous == nullptr) {
        return band;
    }
    int top = band.y + band.h;
    int bottom = band.y;
    int left = band.x + band.w;
    int right = band.x;
    for (int y = band.y; y < band.y + band.h; ++y) {
        const auto* now =
            reinterpret_cast<const uint16_t*>(pixels + static_cast<size_t>(y) * pitch);
        const auto* was =
            reinterpret_cast<const uint16_t*>(previous + static_cast<size_t>(y) * pitch);
        if (std::memcmp(now + band.x, was + band.x, static_cast<size_t>(band.w) * 2) == 0) {
            continue;
        }
        int first = band.x;
        while (now[first] == was[first]) {
            ++first;
        }
        int last = band.x + band.w - 1;
        while (now[last] == was[last]) {
            --last;
        }
        top = std::min(top, y);
        bottom = y + 1;
        left = std::min(left, first);
        right = std::max(right, last + 1);
    }
    if (bottom <= top) {
        return SDL_Rect{0, 0, 0, 0};
    }
    return SDL_Rect{left, top, right - left, bottom - top};
}

// A 5-6-5 pixel widened to 8 bits a channel, at the window's channel places.
struct Widener {
    uint32_t redShift;
    uint32_t greenShift;
    uint32_t blueShift;
    uint32_t alpha;
    uint32_t operator()(uint16_t pixel) const {
        const uint32_t r = pixel >> 11;
        const uint32_t g = (pixel >> 5) & 0x3F;
        const uint32_t b = pixel & 0x1F;
        return ((r << 3 | r >> 2) << redShift) | ((g << 2 | g >> 4) << greenShift) |
               ((b << 3 | b >> 2) << blueShift) | alpha;
    }
};

// Whole-multiple scaling into a window of 8-bit channels: each picture row
// is widened once into the window and copied down to the rows below it.
void ScaleInto(SDL_Surface& out, const Placement& at, const uint8_t* pixels, int32_t pitch,
               const SDL_Rect& part) {
    const SDL_PixelFormat& f = *out.format;
    const Widener widen{f.Rshift, f.Gshift, f.Bshift, f.Amask};
    const int scale = at.scale;
    for (int y = part.y; y < part.y + part.h; ++y) {
        const auto* source =
            reinterpret_cast<const uint16_t*>(pixels + static_cast<size_t>(y) * pitch);
        auto* first = static_cast<uint8_t*>(out.pixels) +
                      static_cast<size_t>(at.target.y + y * scale) * out.pitch +
                      static_cast<size_t>(at.target.x + part.x * scale) * 4;
        auto* row = reinterpret_cast<uint32_t*>(first);
        for (int x = part.x; x < part.x + part.w; ++x) {
            const uint32_t shown = widen(source[x]);
            for (int k = 0; k < scale; ++k) {
                *row++ = shown;
            }
        }
        for (int k = 1; k < scale; ++k) {
            std::memcpy(first + static_cast<size_t>(k) * out.pitch, first,
                        static_cast<size_t>(part.w) * scale * 4);
        }
    }
}

bool FastFormat(const SDL_Surface& out) {
    const SDL_PixelFormat& f = *out.format;
    return f.BytesPerPixel == 4 && f.Rloss == 0 && f.Gloss == 0 && f.Bloss == 0;
}

void ShowOnSurface(const uint8_t* pixels, int32_t pitch, const uint8_t* previous,
                   const SDL_Rect& band) {
    SDL_Surface* out = SDL_GetWindowSurface(presenter.window);
    if (out == nullptr) {
        return;
    }
    if (out != presenter.seen || out->w != presenter.seenWidth || out->h != presenter.seenHeight) {
        presenter.seen = out;
        presenter.seenWidth = out->w;
        presenter.seenHeight = out->h;
        presenter.whole = true;
    }
    const bool whole = presenter.whole;
    const SDL_Rect all{0, 0, presenter.width, presenter.height};
    const SDL_Rect part = whole ? all : ChangedPart(pixels, pitch, previous, band);
    if (part.w <= 0 || part.h <= 0) {
        return;  // the window shows this picture already
    }
    const Placement at = Place(out->w, out->h);
    if (SDL_MUSTLOCK(out) && SDL_LockSurface(out) != 0) {
        return;
    }
    if (whole) {
        SDL_FillRect(out, nullptr, SDL_MapRGB(out->format, 0, 0, 0));
    }
    SDL_Rect sent = at.target;
    if (at.scale > 0 && FastFormat(*out)) {
        ScaleInto(*out, at, pixels, pitch, part);
        sent = SDL_Rect{at.target.x + part.x * at.scale, at.target.y + part.y * at.scale,
                        part.w * at.scale, part.h * at.scale};
    } else {
        // Any other window format, or a window smaller than the picture:
        // SDL's own scaler, on the whole picture.
        std::unique_ptr<SDL_Surface, SurfaceFreer> source(SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint8_t*>(pixels), presenter.width, presenter.height, 16, pitch,
            SDL_PIXELFORMAT_RGB565));
        if (source) {
            SDL_Rect to = at.target;
            SDL_BlitScaled(source.get(), nullptr, out, &to);
        }
    }
    if (SDL_MUSTLOCK(out)) {
        SDL_UnlockSurface(out);
    }
    if (whole) {
        SDL_UpdateWindowSurface(presenter.window);
        presenter.whole = false;
    } else {
        SDL_UpdateWindowSurfaceRects(presenter.window, &sent, 1);
    }
}

}  // namespace

bool PresenterOpen(SDL_Window* window, uint32_t width, uint32_t height) {
    PresenterClose();
    if (window == nullptr || width == 0 || height == 0) {
        return false;
    }
    // Without this SDL may back the window surface with a GPU texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_GetWindowSurface(window) == nullptr) {
        return false;
    }
    presenter.window = window;
    presenter.width = static_cast<int>(width);
    presenter.height = static_cast<int>(height);
    presenter.whole = true;
    return true;
}

void PresenterClose() {
    presenter.seen = nullptr;
    presenter.window = nullptr;
}

void PresenterShow(const uint8_t* pixels, int32_t pitch, const uint8_t* previous,
                   const SDL_Rect* band) {
    const SDL_Rect all{0, 0, presenter.width, presenter.height};
    SDL_Rect within = all;
    if (band != nullptr && SDL_IntersectRect(band, &all, &within) == SDL_FALSE) {
        return;
    }
    if (presenter.window != nullptr) {
        ShowOnSurface(pixels, pitch, previous, within);
    }
}

void PresenterInvalidate() {
    presenter.whole = true;
}

}  // namespace korvane::platform::sdl
