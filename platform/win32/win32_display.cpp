// The Windows backend's display: DirectDraw's IDirectDraw4 in exclusive
// full-screen mode, a primary surface with one back buffer, off-screen
// surfaces, locks, fills and fast blits.
#include <algorithm>
#include <cstring>
#include <set>

#include "platform/win32/win32_display.h"
#include "platform/win32/win32_shared.h"

namespace korvane::platform {
namespace {

IDirectDraw* firstInterface = nullptr;
IDirectDraw4* directDraw = nullptr;
// The off-screen surfaces alive, whose pictures go back after a restore.
std::set<Surface*> offscreenSurfaces;

DDSURFACEDESC2 EmptyDescription() {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    return description;
}

BlitResult ToBlitResult(HRESULT result) {
    if (SUCCEEDED(result)) {
        return BlitResult::Ok;
    }
    return result == DDERR_SURFACELOST ? BlitResult::SurfaceLost : BlitResult::Failed;
}

// Writes an off-screen surface's kept pixels back into it.
void CopyKeptPixels(Surface& surface) {
    if (surface.kept.empty()) {
        return;
    }
    DDSURFACEDESC2 description = EmptyDescription();
    if (FAILED(surface.surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(surface.width) * 2;
    auto* to = static_cast<uint8_t*>(description.lpSurface);
    for (uint32_t y = 0; y < surface.height; ++y) {
        std::memcpy(to + static_cast<ptrdiff_t>(y) * description.lPitch,
                    surface.kept.data() + y * rowBytes, rowBytes);
    }
    surface.surface->Unlock(nullptr);
}

// After the game was switched away from and back, its surfaces' memory is
// gone: get it back and put the block pictures into it again. The flipping
// chain is drawn whole by the next frame. False while the screen cannot be
// had yet (the game is still in the background); the next flip tries again.
bool RestoreSurfaces() {
    if (directDraw == nullptr || FAILED(directDraw->RestoreAllSurfaces())) {
        return false;
    }
    for (Surface* surface : offscreenSurfaces) {
        CopyKeptPixels(*surface);
    }
    return true;
}

}  // namespace

bool DisplayOpen() {
    return SUCCEEDED(DirectDrawCreate(nullptr, &firstInterface, nullptr));
}

bool DisplayCheckFeatures() {
    void* answer = nullptr;
    const HRESULT result = firstInterface->QueryInterface(IID_IDirectDraw4, &answer);
    // The first interface's only use was this question.
    firstInterface->Release();
    firstInterface = nullptr;
    if (FAILED(result)) {
        return false;
    }
    directDraw = static_cast<IDirectDraw4*>(answer);
    return true;
}

bool DisplayTakeScreen() {
    return SUCCEEDED(directDraw->SetCooperativeLevel(
        win32::GameWindow(),
        DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX));
}

bool DisplaySetMode(uint32_t width, uint32_t height, uint32_t depth) {
    return SUCCEEDED(directDraw->SetDisplayMode(width, height, depth, 0, 0));
}

void DisplayRestoreMode() {
    if (directDraw != nullptr) {
        directDraw->RestoreDisplayMode();
    }
}

void DisplayClose() {
    if (firstInterface != nullptr) {
        firstInterface->Release();
        firstInterface = nullptr;
    }
    if (directDraw != nullptr) {
        directDraw->Release();
        directDraw = nullptr;
    }
}

Surface* DisplayCreatePrimary() {
    DDSURFACEDESC2 description = EmptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    description.dwBackBufferCount = 1;
    IDirectDrawSurface4* made = nullptr;
    if (directDraw == nullptr || FAILED(directDraw->CreateSurface(&description, &made, nullptr))) {
        return nullptr;
    }
    DDSURFACEDESC2 size = EmptyDescription();
    size.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    made->GetSurfaceDesc(&size);
    auto* primary = new Surface;
    primary->surface = made;
    primary->width = size.dwWidth;
    primary->height = size.dwHeight;
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
    const HRESULT result = primary->surface->Flip(nullptr, DDFLIP_WAIT);
    if (result == DDERR_SURFACELOST) {
        // This frame is not shown; the next one finds its surfaces back.
        RestoreSurfaces();
    }
    return ToBlitResult(result);
}

Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t extraCaps) {
    DDSURFACEDESC2 description = EmptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddsCaps.dwCaps = extraCaps | DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface4* made = nullptr;
    if (directDraw == nullptr || FAILED(directDraw->CreateSurface(&description, &made, nullptr))) {
        return nullptr;
    }
    auto* surface = new Surface;
    surface->surface = made;
    surface->width = width;
    surface->height = height;
    offscreenSurfaces.insert(surface);
    return surface;
}

void SurfaceRelease(Surface* surface) {
    if (surface == nullptr) {
        return;
    }
    offscreenSurfaces.erase(surface);
    // The back buffer's reference came from GetAttachedSurface; it goes
    // before the primary surface that owns it.
    if (surface->backBuffer) {
        surface->backBuffer->surface->Release();
    }
    surface->surface->Release();
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
    if (surface == nullptr ||
        FAILED(surface->surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) {
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
    if (surface->locked != nullptr && offscreenSurfaces.count(surface) != 0) {
        const size_t rowBytes = static_cast<size_t>(surface->width) * 2;
        surface->kept.resize(rowBytes * surface->height);
        for (uint32_t y = 0; y < surface->height; ++y) {
            std::memcpy(surface->kept.data() + y * rowBytes,
                        surface->locked + static_cast<ptrdiff_t>(y) * surface->lockedPitch,
                        rowBytes);
        }
    }
    surface->locked = nullptr;
    return SUCCEEDED(surface->surface->Unlock(nullptr));
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    if (surface == nullptr) {
        return BlitResult::Failed;
    }
    DDBLTFX effects{};
    effects.dwSize = sizeof effects;
    effects.dwFillColor = color;
    return ToBlitResult(
        surface->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects));
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    if (destination == nullptr || source == nullptr) {
        return BlitResult::Failed;
    }
    RECT rect{from.left, from.top, from.right, from.bottom};
    return ToBlitResult(destination->surface->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                                      source->surface, &rect, DDBLTFAST_WAIT));
}

}  // namespace korvane::platform
