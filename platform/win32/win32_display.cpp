// The Windows backend's display: DirectDraw's IDirectDraw4 in exclusive
// full-screen mode, a primary surface with one back buffer, off-screen
// surfaces, locks, fills and fast blits. Surfaces lost to another program are
// restored at the first call that finds them lost (win32_lost_surfaces.cpp).
// On Alt+Enter the picture moves to a window on the desktop and back
// (win32_window_mode.cpp).
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win32/win32_display_state.h"

namespace korvane::platform {
namespace win32 {

DisplayState display;

bool ShowDialogSurface() {
    if (display.directDraw == nullptr || !display.exclusive) {
        return false;
    }
    // The surface GDI draws on is one of the flipping chain's two; when the
    // last flip put it behind the game's picture, a dialog would be drawn out
    // of sight.
    bool behind = false;
    IDirectDrawSurface4* gdi = nullptr;
    if (display.primary != nullptr && display.primary->backBuffer &&
        SUCCEEDED(display.directDraw->GetGDISurface(&gdi))) {
        behind = gdi == display.primary->backBuffer->surface;
        gdi->Release();
    }
    display.directDraw->FlipToGDISurface();
    return behind;
}

void ShowGamePicture() {
    if (display.primary != nullptr && display.exclusive) {
        AfterDrawingCall(display.primary->surface->Flip(nullptr, DDFLIP_WAIT));
    }
}

}  // namespace win32

namespace {

using win32::display;
using win32::DisplayState;
using win32::DropEnlarged;
using win32::EmptyDescription;
using win32::kExclusiveLevel;
using win32::MakeMemorySurface;
using win32::Present;
using win32::ReleaseSurface;

BlitResult ToBlitResult(HRESULT result) {
    if (SUCCEEDED(result)) {
        return BlitResult::Ok;
    }
    return result == DDERR_SURFACELOST ? BlitResult::SurfaceLost : BlitResult::Failed;
}

}  // namespace

bool DisplayOpen() {
    return SUCCEEDED(DirectDrawCreate(nullptr, &display.firstInterface, nullptr));
}

bool DisplayCheckFeatures() {
    void* answer = nullptr;
    const HRESULT result = display.firstInterface->QueryInterface(IID_IDirectDraw4, &answer);
    // The first interface's only use was this question.
    display.firstInterface->Release();
    display.firstInterface = nullptr;
    if (FAILED(result)) {
        return false;
    }
    display.directDraw = static_cast<IDirectDraw4*>(answer);
    return true;
}

bool DisplayTakeScreen() {
    display.exclusive =
        SUCCEEDED(display.directDraw->SetCooperativeLevel(win32::GameWindow(), kExclusiveLevel));
    return display.exclusive;
}

bool DisplaySetMode(uint32_t width, uint32_t height, uint32_t depth) {
    if (FAILED(display.directDraw->SetDisplayMode(width, height, depth, 0, 0))) {
        return false;
    }
    display.modeWidth = width;
    display.modeHeight = height;
    display.modeDepth = depth;
    return true;
}

void DisplayRestoreMode() {
    if (display.directDraw != nullptr) {
        display.directDraw->RestoreDisplayMode();
    }
}

void DisplayClose() {
    DropEnlarged();
    if (display.firstInterface != nullptr) {
        display.firstInterface->Release();
    }
    if (display.directDraw != nullptr) {
        display.directDraw->Release();
    }
    display = DisplayState{};
}

uint32_t DisplayRestoreCount() {
    return display.restores;
}

Surface* DisplayCreatePrimary() {
    DDSURFACEDESC2 description = EmptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    description.dwBackBufferCount = 1;
    IDirectDrawSurface4* made = nullptr;
    if (display.directDraw == nullptr ||
        FAILED(display.directDraw->CreateSurface(&description, &made, nullptr))) {
        return nullptr;
    }
    DDSURFACEDESC2 size = EmptyDescription();
    size.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    made->GetSurfaceDesc(&size);
    auto* primary = new Surface;
    primary->surface = made;
    primary->width = size.dwWidth;
    primary->height = size.dwHeight;
    display.pictureFormat = size.ddpfPixelFormat;
    display.primary = primary;
    return primary;
}

Surface* DisplayBackBuffer(Surface* primary) {
    if (primary == nullptr) {
        return nullptr;
    }
    if (primary->backBuffer) {
        return primary->backBuffer.get();
    }
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    IDirectDrawSurface4* attached = nullptr;
    if (FAILED(primary->surface->GetAttachedSurface(&caps, &attached))) {
        return nullptr;
    }
    primary->backBuffer = std::make_unique<Surface>();
    primary->backBuffer->surface = attached;
    primary->backBuffer->width = primary->width;
    primary->backBuffer->height = primary->height;
    return primary->backBuffer.get();
}

BlitResult SurfaceFlip(Surface* primary) {
    if (primary == nullptr) {
        return BlitResult::Failed;
    }
    if (display.windowed && primary == display.primary && primary->backBuffer) {
        // The two surfaces change places, as a flip exchanges the chain's memory.
        std::swap(primary->surface, primary->backBuffer->surface);
        Present();
        return BlitResult::Ok;
    }
    if (win32::FoundLost(primary)) {
        return BlitResult::SurfaceLost;
    }
    return ToBlitResult(win32::AfterDrawingCall(primary->surface->Flip(nullptr, DDFLIP_WAIT)));
}

Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t extraCaps) {
    DDSURFACEDESC2 description = EmptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddsCaps.dwCaps = extraCaps | DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface4* made = nullptr;
    if (display.directDraw == nullptr) {
        return nullptr;
    }
    if (display.windowed) {
        made = MakeMemorySurface(width, height);
    } else if (FAILED(display.directDraw->CreateSurface(&description, &made, nullptr))) {
        made = nullptr;
    }
    if (made == nullptr) {
        return nullptr;
    }
    auto* surface = new Surface;
    surface->surface = made;
    surface->width = width;
    surface->height = height;
    display.offscreen.insert(surface);
    return surface;
}

void SurfaceRelease(Surface* surface) {
    if (surface == nullptr) {
        return;
    }
    display.offscreen.erase(surface);
    if (surface == display.primary) {
        display.primary = nullptr;
        DropEnlarged();
    }
    // The back buffer's reference came from GetAttachedSurface (or, in a
    // window, from a surface of its own); it goes before the primary surface.
    if (surface->backBuffer) {
        ReleaseSurface(&surface->backBuffer->surface);
    }
    ReleaseSurface(&surface->surface);
    delete surface;
}

void SurfaceSize(const Surface* surface, uint32_t* width, uint32_t* height) {
    *width = surface != nullptr ? surface->width : 0;
    *height = surface != nullptr ? surface->height : 0;
}

bool SurfaceRedMask(Surface* surface, uint32_t* redMask) {
    *redMask = 0;
    DDSURFACEDESC2 description = EmptyDescription();
    description.dwFlags = DDSD_PIXELFORMAT;
    if (surface == nullptr || FAILED(surface->surface->GetSurfaceDesc(&description))) {
        return false;
    }
    *redMask = description.ddpfPixelFormat.dwRBitMask;
    return *redMask != 0;
}

bool SurfaceLock(Surface* surface, void** pixels, int32_t* pitch) {
    DDSURFACEDESC2 description = EmptyDescription();
    if (surface == nullptr || win32::FoundLost(surface) ||
        FAILED(win32::AfterDrawingCall(
            surface->surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr)))) {
        return false;
    }
    surface->locked = static_cast<uint8_t*>(description.lpSurface);
    surface->lockedPitch = static_cast<int32_t>(description.lPitch);
    *pixels = description.lpSurface;
    *pitch = surface->lockedPitch;
    return true;
}

bool SurfaceUnlock(Surface* surface) {
    if (surface == nullptr) {
        return false;
    }
    // An off-screen surface keeps a copy of its pixels for a restore.
    if (surface->locked != nullptr && display.offscreen.count(surface) != 0) {
        const size_t rowBytes = static_cast<size_t>(surface->width) * 2;
        surface->kept.resize(rowBytes * surface->height);
        for (uint32_t y = 0; y < surface->height; ++y) {
            std::memcpy(surface->kept.data() + y * rowBytes,
                        surface->locked + static_cast<ptrdiff_t>(y) * surface->lockedPitch,
                        rowBytes);
        }
    }
    surface->locked = nullptr;
    const bool unlocked = SUCCEEDED(surface->surface->Unlock(nullptr));
    if (surface == display.primary) {
        Present();  // a change to the primary surface shows at once
    }
    return unlocked;
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    if (surface == nullptr) {
        return BlitResult::Failed;
    }
    if (win32::FoundLost(surface)) {
        return BlitResult::SurfaceLost;
    }
    DDBLTFX effects{};
    effects.dwSize = sizeof effects;
    effects.dwFillColor = color;
    const BlitResult result = ToBlitResult(win32::AfterDrawingCall(
        surface->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects)));
    if (surface == display.primary) {
        Present();
    }
    return result;
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    if (destination == nullptr || source == nullptr) {
        return BlitResult::Failed;
    }
    if (win32::FoundLost(destination, source)) {
        return BlitResult::SurfaceLost;
    }
    RECT rect{from.left, from.top, from.right, from.bottom};
    const BlitResult result = ToBlitResult(win32::AfterDrawingCall(destination->surface->BltFast(
        static_cast<DWORD>(x), static_cast<DWORD>(y), source->surface, &rect, DDBLTFAST_WAIT)));
    if (destination == display.primary) {
        Present();  // a strip copied to the screen shows at once
    }
    return result;
}

}  // namespace korvane::platform
