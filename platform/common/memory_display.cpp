// The display of a backend that draws in memory: every surface is plain
// memory in 5-6-5, never lost, and whatever reaches the primary surface is
// handed to the backend to show (memory_backend.h).
#include "platform/common/memory_backend.h"
#include "platform/display.h"

namespace korvane::platform {
namespace {

struct DisplayState {
    bool fits = false;  // the screen can show what is drawn here
    uint32_t width = 640;
    uint32_t height = 480;
    MemorySurfaces surfaces;
};
DisplayState display;

bool Visible(const Surface* surface) {
    return surface->kind == Surface::Kind::Primary;
}

void ShowWhole(const Surface& primary) {
    backend::ShowArea(primary, Rect{0, 0, static_cast<int32_t>(primary.width),
                                    static_cast<int32_t>(primary.height)});
}

}  // namespace

const Surface* ShownPrimary() {
    return display.surfaces.Primary();
}

bool DisplayOpen() {
    return backend::OpenScreen();
}

bool DisplayCheckFeatures() {
    display.fits = backend::ScreenFits();
    return display.fits;
}

bool DisplayTakeScreen() {
    return backend::TakeScreen();
}

bool DisplaySetMode(uint32_t width, uint32_t height, uint32_t depth) {
    // The host keeps its own mode; the picture is scaled onto it.
    if (depth != 16 || width == 0 || height == 0 || !display.fits ||
        !backend::SizeScreen(width, height)) {
        return false;
    }
    display.width = width;
    display.height = height;
    return true;
}

void DisplayRestoreMode() {
    // The host's mode is never changed (DisplaySetMode scales the picture
    // onto it), so there is none to put back.
}

void DisplayClose() {
    backend::CloseScreen();
    display.fits = false;
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
    backend::ShowFlip(*primary);
    return BlitResult::Ok;
}

uint32_t DisplayRestoreCount() {
    return 0;  // memory is never taken from the game
}

Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t /*extraCaps*/) {
    return display.surfaces.CreateOffscreen(width, height, 0);
}

void SurfaceRelease(Surface* surface) {
    display.surfaces.Release(surface);
}

bool SurfaceRedMask(Surface* surface, uint32_t* redMask) {
    *redMask = display.surfaces.Known(surface) ? 0xF800 : 0;
    return *redMask != 0;
}

bool SurfaceLock(Surface* surface, void** pixels, int32_t* pitch) {
    return display.surfaces.Lock(surface, pixels, pitch);
}

bool SurfaceUnlock(Surface* surface) {
    if (!display.surfaces.Known(surface)) {
        return false;
    }
    if (Visible(surface)) {
        ShowWhole(*surface);
    }
    return true;
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    const BlitResult result = display.surfaces.Fill(surface, color);
    if (result == BlitResult::Ok && Visible(surface)) {
        ShowWhole(*surface);
    }
    return result;
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    const BlitResult result = display.surfaces.BlitFast(destination, x, y, source, from);
    // A strip copied onto the screen is seen at once, so the wipe shows.
    if (result == BlitResult::Ok && Visible(destination)) {
        backend::ShowArea(*destination,
                          Rect{x, y, x + from.right - from.left, y + from.bottom - from.top});
    }
    return result;
}

}  // namespace korvane::platform
