// The SDL display: 16-bit surfaces in plain memory; the primary surface is
// shown in the window through the presenter (sdl_present.h).
#include "platform/display.h"

#include <algorithm>

#include "platform/sdl/sdl_display_surface.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_shared.h"

namespace korvane::platform {
namespace {

struct DisplayState {
    bool checked = false;  // the presenter may be made
    uint32_t width = 640;
    uint32_t height = 480;
    std::vector<std::unique_ptr<Surface>> surfaces;
};
DisplayState display;

bool Known(const Surface* surface) {
    if (surface == nullptr) {
        return false;
    }
    return std::any_of(display.surfaces.begin(), display.surfaces.end(), [surface](const auto& s) {
        return s.get() == surface || s->backBuffer.get() == surface;
    });
}

const Surface* Primary() {
    for (const auto& s : display.surfaces) {
        if (s->visible) {
            return s.get();
        }
    }
    return nullptr;
}

}  // namespace

namespace sdl {

void PresentPrimary(const Surface& primary) {
    PresenterShow(primary.bytes.data(), primary.pitch, nullptr, nullptr);
}

void RedrawWindow() {
    PresenterInvalidate();
    if (const Surface* primary = Primary()) {
        PresentPrimary(*primary);
    }
}

}  // namespace sdl

bool DisplayOpen() {
    return sdl::StartSubsystems(SDL_INIT_VIDEO) && sdl::GameWindow() != nullptr;
}

bool DisplayCheckVersion() {
    // Everything the game draws with is done in memory here; the window is
    // all the device needs.
    display.checked = sdl::GameWindow() != nullptr;
    return display.checked;
}

bool DisplayTakeScreen() {
    SDL_Window* window = sdl::GameWindow();
    if (window == nullptr || !sdl::SetFullScreen(true)) {
        return false;
    }
    SDL_ShowCursor(SDL_DISABLE);
    SDL_RaiseWindow(window);
    return true;
}

bool DisplaySetMode(uint32_t width, uint32_t height, uint32_t depth) {
    // The desktop keeps its own mode; the picture is scaled onto it.
    if (depth != 16 || width == 0 || height == 0 || !display.checked) {
        return false;
    }
    if (!sdl::PresenterOpen(sdl::GameWindow(), width, height)) {
        return false;
    }
    display.width = width;
    display.height = height;
    return true;
}

void DisplayRestoreMode() {
    sdl::PresenterClose();
}

void DisplayClose() {
    sdl::PresenterClose();
    display.checked = false;
}

Surface* DisplayCreatePrimary() {
    auto primary = std::make_unique<Surface>(display.width, display.height);
    primary->visible = true;
    primary->backBuffer = std::make_unique<Surface>(display.width, display.height);
    display.surfaces.push_back(std::move(primary));
    return display.surfaces.back().get();
}

Surface* DisplayBackBuffer(Surface* primary) {
    return Known(primary) ? primary->backBuffer.get() : nullptr;
}

BlitResult SurfaceFlip(Surface* primary) {
    if (!Known(primary) || !primary->backBuffer) {
        return BlitResult::Failed;
    }
    primary->bytes.swap(primary->backBuffer->bytes);
    // The back buffer now holds what the window showed until this flip, so
    // only what differs from it is sent.
    sdl::PresenterShow(primary->bytes.data(), primary->pitch, primary->backBuffer->bytes.data(),
                       nullptr);
    return BlitResult::Ok;
}
Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t /*extraCaps*/) {
    if (width == 0 || height == 0) {
        return nullptr;
    }
    display.surfaces.push_back(std::make_unique<Surface>(width, height));
    return display.surfaces.back().get();
}

void SurfaceRelease(Surface* surface) {
    auto held = std::find_if(display.surfaces.begin(), display.surfaces.end(),
                             [surface](const auto& s) { return s.get() == surface; });
    if (held != display.surfaces.end()) {
        display.surfaces.erase(held);
    }
}

void SurfaceSize(const Surface* surface, uint32_t* width, uint32_t* height) {
    *width = surface != nullptr ? surface->width : 0;
    *height = surface != nullptr ? surface->height : 0;
}

bool SurfaceRedMask(Surface* surface, uint32_t* redMask) {
    *redMask = 0;
    if (!Known(surface)) {
        return false;
    }
    int bits = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    uint32_t alpha = 0;
    return SDL_PixelFormatEnumToMasks(SDL_PIXELFORMAT_RGB565, &bits, redMask, &green, &blue,
                                      &alpha) == SDL_TRUE;
}

bool SurfaceLock(Surface* surface, void** pixels, int32_t* pitch) {
    if (!Known(surface)) {
        return false;
    }
    *pixels = surface->bytes.data();
    *pitch = surface->pitch;
    return true;
}

bool SurfaceUnlock(Surface* surface) {
    if (!Known(surface)) {
        return false;
    }
    if (surface->visible) {
        sdl::PresentPrimary(*surface);
    }
    return true;
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    if (!Known(surface)) {
        return BlitResult::Failed;
    }
    for (uint32_t y = 0; y < surface->height; ++y) {
        for (uint32_t x = 0; x < surface->width; ++x) {
            surface->Set(x, y, static_cast<uint16_t>(color));
        }
    }
    if (surface->visible) {
        sdl::PresentPrimary(*surface);
    }
    return BlitResult::Ok;
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    if (!Known(destination) || !Known(source)) {
        return BlitResult::Failed;
    }
    const int32_t w = from.right - from.left;
    const int32_t h = from.bottom - from.top;
    const bool inside = from.left >= 0 && from.top >= 0 && w > 0 && h > 0 &&
                        from.right <= static_cast<int32_t>(source->width) &&
                        from.bottom <= static_cast<int32_t>(source->height) && x >= 0 && y >= 0 &&
                        x + w <= static_cast<int32_t>(destination->width) &&
                        y + h <= static_cast<int32_t>(destination->height);
    if (!inside) {
        return BlitResult::Failed;
    }
    for (int32_t row = 0; row < h; ++row) {
        std::memmove(
            destination->bytes.data() + static_cast<size_t>(y + row) * destination->pitch + x * 2,
            source->bytes.data() + static_cast<size_t>(from.top + row) * source->pitch +
                from.left * 2,
            static_cast<size_t>(w) * 2);
    }
    // A strip copied onto the screen is seen at once, so the wipe shows.
    if (destination->visible) {
        const SDL_Rect strip{x, y, w, h};
        sdl::PresenterShow(destination->bytes.data(), destination->pitch, nullptr, &strip);
    }
    return BlitResult::Ok;
}

}  // namespace korvane::platform
