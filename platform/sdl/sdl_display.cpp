// The SDL display: 16-bit surfaces in plain memory; the primary surface is
// shown in the window through the presenter (sdl_present.h).
#include "platform/display.h"

#include "platform/common/memory_surface.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_shared.h"

namespace korvane::platform {
namespace {

struct DisplayState {
    bool checked = false;  // the presenter may be made
    uint32_t width = 640;
    uint32_t height = 480;
    MemorySurfaces surfaces;
};
DisplayState display;

bool Visible(const Surface* surface) {
    return surface->kind == Surface::Kind::Primary;
}

// Shows the primary surface's pixels in the window now.
void PresentPrimary(const Surface& primary) {
    sdl::PresenterShow(primary.bytes.data(), primary.pitch, nullptr, nullptr);
}

}  // namespace

namespace sdl {

void RedrawWindow() {
    PresenterInvalidate();
    if (const Surface* primary = display.surfaces.Primary()) {
        PresentPrimary(*primary);
    }
}

}  // namespace sdl

bool DisplayOpen() {
    return sdl::StartSubsystems(SDL_INIT_VIDEO) && sdl::GameWindow() != nullptr;
}

bool DisplayCheckFeatures() {
    // The game draws in memory and the presenter converts its pixels into the
    // window's own: what the device must offer is a window of a known format.
    SDL_Window* window = sdl::GameWindow();
    display.checked =
        window != nullptr && SDL_GetWindowPixelFormat(window) != SDL_PIXELFORMAT_UNKNOWN;
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
    // The desktop's mode is never changed (DisplaySetMode scales the picture
    // onto it), so there is none to put back; the presenter goes with the
    // device in DisplayClose.
}

void DisplayClose() {
    sdl::PresenterClose();
    display.checked = false;
}

Surface* DisplayCreatePrimary() {
    return display.surfaces.CreatePrimary(display.width, display.height, 0);
}

Surface* DisplayBackBuffer(Surface* primary) {
    return display.surfaces.Known(primary) ? primary->backBuffer.get() : nullptr;
}

BlitResult SurfaceFlip(Surface* primary) {
    if (display.surfaces.Flip(primary) != BlitResult::Ok) {
        return BlitResult::Failed;
    }
    // The back buffer now holds what the window showed until this flip, so
    // only what differs from it is sent.
    sdl::PresenterShow(primary->bytes.data(), primary->pitch, primary->backBuffer->bytes.data(),
                       nullptr);
    return BlitResult::Ok;
}

uint32_t DisplayRestoreCount() {
    return 0;  // surfaces in memory are never lost
}

Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t /*extraCaps*/) {
    return display.surfaces.CreateOffscreen(width, height, 0);
}

void SurfaceRelease(Surface* surface) {
    display.surfaces.Release(surface);
}

bool SurfaceRedMask(Surface* surface, uint32_t* redMask) {
    *redMask = 0;
    if (!display.surfaces.Known(surface)) {
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
    return display.surfaces.Lock(surface, pixels, pitch);
}

bool SurfaceUnlock(Surface* surface) {
    if (!display.surfaces.Known(surface)) {
        return false;
    }
    if (Visible(surface)) {
        PresentPrimary(*surface);
    }
    return true;
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    const BlitResult result = display.surfaces.Fill(surface, color);
    if (result == BlitResult::Ok && Visible(surface)) {
        PresentPrimary(*surface);
    }
    return result;
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    const BlitResult result = display.surfaces.BlitFast(destination, x, y, source, from);
    // A strip copied onto the screen is seen at once, so the wipe shows.
    if (result == BlitResult::Ok && Visible(destination)) {
        const SDL_Rect strip{x, y, from.right - from.left, from.bottom - from.top};
        sdl::PresenterShow(destination->bytes.data(), destination->pitch, nullptr, &strip);
    }
    return result;
}

}  // namespace korvane::platform
