// The Windows backend's display: DirectDraw's IDirectDraw4 in exclusive
// full-screen mode, a primary surface with one back buffer, off-screen
// surfaces, locks, fills and fast blits. Surfaces lost to another program are
// restored at the first call that finds them lost.
#include <cstring>
#include <set>
#include <vector>

#include "platform/win32/win32_display.h"
#include "platform/win32/win32_shared.h"

namespace korvane::platform {
namespace {

constexpr DWORD kExclusiveLevel =
    DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
struct DisplayState {
    IDirectDraw* firstInterface = nullptr;
    IDirectDraw4* directDraw = nullptr;
    // The off-screen surfaces alive, whose pictures go back after a restore.
    std::set<Surface*> offscreen;
    // The game's primary surface with its back buffer; none before it is made.
    Surface* primary = nullptr;
    bool exclusive = false;  // the exclusive full-screen level is held
    uint32_t restores = 0;
};
DisplayState display;

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

// Writes rows of width * 2 bytes into a surface; black where there are none.
void WriteRows(IDirectDrawSurface4* surface, uint32_t width, uint32_t height,
               const std::vector<uint8_t>& rows) {
    DDSURFACEDESC2 description = EmptyDescription();
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 2;
    auto* to = static_cast<uint8_t*>(description.lpSurface);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = to + static_cast<ptrdiff_t>(y) * description.lPitch;
        if (rows.size() >= (y + 1) * rowBytes) {
            std::memcpy(row, rows.data() + y * rowBytes, rowBytes);
        } else {
            std::memset(row, 0, rowBytes);
        }
    }
    surface->Unlock(nullptr);
}

// Brings back the memory of every surface once the screen is the game's
// again, and the off-screen pictures into it; the flipping chain is drawn
// whole by the next frame. While another program has the screen the restore
// is refused and the surfaces stay lost.
void RestoreSurfaces() {
    if (display.directDraw == nullptr || FAILED(display.directDraw->RestoreAllSurfaces())) {
        return;
    }
    for (Surface* surface : display.offscreen) {
        if (!surface->kept.empty()) {
            WriteRows(surface->surface, surface->width, surface->height, surface->kept);
        }
    }
    ++display.restores;
}

}  // namespace

namespace win32 {

HRESULT AfterDrawingCall(HRESULT result) {
    if (result == DDERR_SURFACELOST) {
        RestoreSurfaces();
    }
    return result;
}

bool FoundLost(Surface* surface, Surface* other) {
    const auto lost = [](Surface* s) {
        return s != nullptr && s->surface != nullptr && s->surface->IsLost() == DDERR_SURFACELOST;
    };
    if (!lost(surface) && !lost(other)) {
        return false;
    }
    RestoreSurfaces();
    return true;
}

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
    return SUCCEEDED(display.directDraw->SetDisplayMode(width, height, depth, 0, 0));
}

void DisplayRestoreMode() {
    if (display.directDraw != nullptr) {
        display.directDraw->RestoreDisplayMode();
    }
}

void DisplayClose() {
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
    size.dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    made->GetSurfaceDesc(&size);
    auto* primary = new Surface;
    primary->surface = made;
    primary->width = size.dwWidth;
    primary->height = size.dwHeight;
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
    if (display.directDraw == nullptr ||
        FAILED(display.directDraw->CreateSurface(&description, &made, nullptr))) {
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
    }
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
    return SUCCEEDED(surface->surface->Unlock(nullptr));
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
    return ToBlitResult(win32::AfterDrawingCall(
        surface->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects)));
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
    return ToBlitResult(win32::AfterDrawingCall(destination->surface->BltFast(
        static_cast<DWORD>(x), static_cast<DWORD>(y), source->surface, &rect, DDBLTFAST_WAIT)));
}

}  // namespace korvane::platform
