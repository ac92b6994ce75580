#include "platform/sdl/sdl_present.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/common/picture_scaler.h"

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
    PictureScaler scaler;
    // Where the picture is scaled when the window's pixels are not 32-bit
    // with 8-bit channels; copied into the window from there.
    std::unique_ptr<SDL_Surface, SurfaceFreer> staging;
};
Presenter presenter;

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

bool EightBitChannels(const SDL_Surface& out) {
    const SDL_PixelFormat& f = *out.format;
    return f.BytesPerPixel == 4 && f.Rloss == 0 && f.Gloss == 0 && f.Bloss == 0;
}

// The surface the picture is scaled into: the window's own, or the staging
// surface of the window's size.
SDL_Surface* ScaleTarget(SDL_Surface* out) {
    if (EightBitChannels(*out)) {
        presenter.staging.reset();
        return out;
    }
    if (!presenter.staging || presenter.staging->w != out->w || presenter.staging->h != out->h) {
        presenter.staging.reset(
            SDL_CreateRGBSurfaceWithFormat(0, out->w, out->h, 32, SDL_PIXELFORMAT_RGB888));
    }
    return presenter.staging.get();
}

ScreenPixels PixelsOf(const SDL_Surface& surface) {
    const SDL_PixelFormat& f = *surface.format;
    ScreenPixels pixels;
    pixels.pixels = static_cast<uint8_t*>(surface.pixels);
    pixels.pitch = surface.pitch;
    pixels.redShift = f.Rshift;
    pixels.greenShift = f.Gshift;
    pixels.blueShift = f.Bshift;
    pixels.alphaMask = f.Amask;
    return pixels;
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
    presenter.staging.reset();
    presenter.seen = nullptr;
    presenter.window = nullptr;
}

void PresenterShow(const uint8_t* pixels, int32_t pitch, const uint8_t* previous,
                   const SDL_Rect* band) {
    const SDL_Rect all{0, 0, presenter.width, presenter.height};
    SDL_Rect within = all;
    if (presenter.window == nullptr ||
        (band != nullptr && SDL_IntersectRect(band, &all, &within) == SDL_FALSE)) {
        return;
    }
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
    const SDL_Rect part = whole ? all : ChangedPart(pixels, pitch, previous, within);
    if (part.w <= 0 || part.h <= 0) {
        return;  // the window shows this picture already
    }
    SDL_Surface* target = ScaleTarget(out);
    if (target == nullptr || (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0)) {
        return;
    }
    if (whole) {
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
    }
    presenter.scaler.Prepare(presenter.width, presenter.height, out->w, out->h);
    const PixelBox drawn = presenter.scaler.Draw(
        pixels, pitch, {part.x, part.y, part.x + part.w, part.y + part.h}, PixelsOf(*target));
    if (SDL_MUSTLOCK(target)) {
        SDL_UnlockSurface(target);
    }
    SDL_Rect sent =
        whole ? SDL_Rect{0, 0, out->w, out->h}
              : SDL_Rect{drawn.left, drawn.top, drawn.right - drawn.left, drawn.bottom - drawn.top};
    if (target != out) {
        SDL_Rect to = sent;
        SDL_BlitSurface(target, &sent, out, &to);
    }
    if (whole) {
        SDL_UpdateWindowSurface(presenter.window);
        presenter.whole = false;
    } else if (sent.w > 0 && sent.h > 0) {
        SDL_UpdateWindowSurfaceRects(presenter.window, &sent, 1);
    }
}

void PresenterInvalidate() {
    presenter.whole = true;
}

}  // namespace korvane::platform::sdl
