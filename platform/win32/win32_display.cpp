// The Windows backend's display: DirectDraw's IDirectDraw4 in exclusive
// full-screen mode, a primary surface with one back buffer, off-screen
// surfaces, locks, fills and fast blits. Surfaces lost to another program are
// restored at the first call that finds them lost. On Alt+Enter the picture
// moves to a window on the desktop and back.
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "platform/common/picture_scale.h"
#include "platform/win32/win32_display.h"
#include "platform/win32/win32_shared.h"

namespace korvane::platform {
namespace {

constexpr DWORD kExclusiveLevel =
    DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;
constexpr LONG_PTR kFullScreenStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// A window of a fixed size: no edge to drag, no maximize button.
constexpr LONG_PTR kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

struct DisplayState {
    IDirectDraw* firstInterface = nullptr;
    IDirectDraw4* directDraw = nullptr;
    // The off-screen surfaces alive, whose pictures go back after a restore.
    std::set<Surface*> offscreen;
    // The game's primary surface with its back buffer; none before it is made.
    Surface* primary = nullptr;
    uint32_t modeWidth = 0;
    uint32_t modeHeight = 0;
    uint32_t modeDepth = 0;
    // The full-screen mode's pixel format, which the surfaces made for the
    // window keep, so the game's pictures and blits stay as they are.
    DDPIXELFORMAT pictureFormat{};
    bool exclusive = false;  // the exclusive full-screen level is held
    bool windowed = false;   // Alt+Enter put the picture in a window
    bool switching = false;  // between one of those and the other
    uint32_t restores = 0;
    // Surfaces made in system memory for the window, which are never lost.
    std::set<IDirectDrawSurface4*> inMemory;
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

// A surface's pixels as rows of width * 2 bytes; empty when it cannot be locked.
std::vector<uint8_t> ReadRows(IDirectDrawSurface4* surface, uint32_t width, uint32_t height) {
    DDSURFACEDESC2 description = EmptyDescription();
    std::vector<uint8_t> rows;
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) {
        return rows;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 2;
    rows.resize(rowBytes * height);
    const auto* from = static_cast<const uint8_t*>(description.lpSurface);
    for (uint32_t y = 0; y < height; ++y) {
        std::memcpy(rows.data() + y * rowBytes,
                    from + static_cast<ptrdiff_t>(y) * description.lPitch, rowBytes);
    }
    surface->Unlock(nullptr);
    return rows;
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
    const uint32_t given = rowBytes == 0 ? 0 : static_cast<uint32_t>(rows.size() / rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = to + static_cast<ptrdiff_t>(y) * description.lPitch;
        std::memset(row, 0, rowBytes);
        if (y < given) {
            std::memcpy(row, rows.data() + y * rowBytes, rowBytes);
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

// ---- The picture in a window ----------------------------------------------------

// A 16-bit surface in system memory in the picture's format, for the window.
IDirectDrawSurface4* MakeMemorySurface(uint32_t width, uint32_t height) {
    DDSURFACEDESC2 description = EmptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    description.ddpfPixelFormat = display.pictureFormat;
    IDirectDrawSurface4* made = nullptr;
    if (FAILED(display.directDraw->CreateSurface(&description, &made, nullptr))) {
        return nullptr;
    }
    display.inMemory.insert(made);
    return made;
}

void ReleaseSurface(IDirectDrawSurface4** surface) {
    if (*surface != nullptr) {
        display.inMemory.erase(*surface);
        (*surface)->Release();
        *surface = nullptr;
    }
}

// The picture enlarged by a whole factor, before the smooth step down into
// the window; kept from one showing to the next.
struct Enlarged {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ replaced = nullptr;
    int width = 0;
    int height = 0;
};
Enlarged enlarged;

void DropEnlarged() {
    if (enlarged.dc != nullptr) {
        SelectObject(enlarged.dc, enlarged.replaced);
        DeleteObject(enlarged.bitmap);
        DeleteDC(enlarged.dc);
    }
    enlarged = Enlarged{};
}

HDC EnlargedContext(HDC like, int width, int height) {
    if (enlarged.dc != nullptr && enlarged.width == width && enlarged.height == height) {
        return enlarged.dc;
    }
    DropEnlarged();
    enlarged.dc = CreateCompatibleDC(like);
    enlarged.bitmap = CreateCompatibleBitmap(like, width, height);
    if (enlarged.dc == nullptr || enlarged.bitmap == nullptr) {
        if (enlarged.bitmap != nullptr) {
            DeleteObject(enlarged.bitmap);
        }
        if (enlarged.dc != nullptr) {
            DeleteDC(enlarged.dc);
        }
        enlarged = Enlarged{};
        return nullptr;
    }
    enlarged.replaced = SelectObject(enlarged.dc, enlarged.bitmap);
    enlarged.width = width;
    enlarged.height = height;
    return enlarged.dc;
}

// Shows the front surface in the window, laid on its inside by the picture
// rule every scaling backend follows: a whole factor without smoothing, or
// nearest up to the next whole factor and then smoothly down. GDI does the
// stretching, since DirectDraw does not blit the 16-bit picture onto a
// desktop of another depth.
void Present() {
    if (!display.windowed || display.switching || display.primary == nullptr) {
        return;
    }
    HWND window = win32::GameWindow();
    RECT inside{};
    GetClientRect(window, &inside);
    const auto width = static_cast<int32_t>(display.primary->width);
    const auto height = static_cast<int32_t>(display.primary->height);
    const PicturePlacement at = PlacePicture(width, height, inside.right, inside.bottom);
    HDC picture = nullptr;
    if (at.width <= 0 || FAILED(display.primary->surface->GetDC(&picture))) {
        return;
    }
    HDC screen = GetDC(window);
    HDC big = at.smooth && at.nearestFactor > 1
                  ? EnlargedContext(screen, width * at.nearestFactor, height * at.nearestFactor)
                  : nullptr;
    if (!at.smooth) {
        SetStretchBltMode(screen, COLORONCOLOR);
        StretchBlt(screen, at.x, at.y, at.width, at.height, picture, 0, 0, width, height, SRCCOPY);
    } else {
        HDC from = picture;
        int fromWidth = width;
        int fromHeight = height;
        if (big != nullptr) {
            SetStretchBltMode(big, COLORONCOLOR);
            StretchBlt(big, 0, 0, enlarged.width, enlarged.height, picture, 0, 0, width, height,
                       SRCCOPY);
            from = big;
            fromWidth = enlarged.width;
            fromHeight = enlarged.height;
        }
        SetStretchBltMode(screen, HALFTONE);
        SetBrushOrgEx(screen, 0, 0, nullptr);
        StretchBlt(screen, at.x, at.y, at.width, at.height, from, 0, 0, fromWidth, fromHeight,
                   SRCCOPY);
    }
    ReleaseDC(window, screen);
    display.primary->surface->ReleaseDC(picture);
}

// The window's size: the largest the picture rule gives inside the work area
// of the monitor it is on, frame included; centred there.
void PlaceWindow() {
    HWND window = win32::GameWindow();
    SetWindowLongPtrA(window, GWL_STYLE, kWindowStyle);
    SetWindowLongPtrA(window, GWL_EXSTYLE, 0);
    ShowWindow(window, SW_SHOWNORMAL);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(kWindowStyle), FALSE, 0);
    const LONG frameWidth = frame.right - frame.left;
    const LONG frameHeight = frame.bottom - frame.top;
    const LONG workWidth = work.right - work.left;
    const LONG workHeight = work.bottom - work.top;
    const PicturePlacement at = PlacePicture(static_cast<int32_t>(display.primary->width),
                                             static_cast<int32_t>(display.primary->height),
                                             workWidth - frameWidth, workHeight - frameHeight);
    const LONG outerWidth = at.width + frameWidth;
    const LONG outerHeight = at.height + frameHeight;
    // The exclusive mode kept the window above all others; a window on the
    // desktop takes its place among them.
    SetWindowPos(window, HWND_NOTOPMOST, work.left + (workWidth - outerWidth) / 2,
                 work.top + (workHeight - outerHeight) / 2, outerWidth, outerHeight,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

// Off-screen surfaces made for the full-screen mode cannot be restored on a
// desktop of another depth: each is made again in system memory in the
// picture's format, with its pixels.
void MoveOffscreenIntoMemory() {
    for (Surface* surface : display.offscreen) {
        if (display.inMemory.count(surface->surface) != 0) {
            continue;
        }
        IDirectDrawSurface4* made = MakeMemorySurface(surface->width, surface->height);
        if (made == nullptr) {
            continue;  // the old one may still be restored
        }
        surface->surface->Release();
        surface->surface = made;
        WriteRows(made, surface->width, surface->height, surface->kept);
    }
}

void ReleaseChain(Surface& primary) {
    ReleaseSurface(&primary.backBuffer->surface);
    ReleaseSurface(&primary.surface);
}

bool EnterWindow(Surface& primary) {
    HWND window = win32::GameWindow();
    display.directDraw->RestoreDisplayMode();
    if (FAILED(display.directDraw->SetCooperativeLevel(window, DDSCL_NORMAL))) {
        return false;
    }
    display.exclusive = false;
    MoveOffscreenIntoMemory();
    primary.surface = MakeMemorySurface(primary.width, primary.height);
    primary.backBuffer->surface = MakeMemorySurface(primary.width, primary.height);
    if (primary.surface == nullptr || primary.backBuffer->surface == nullptr) {
        ReleaseChain(primary);
        return false;
    }
    if (!display.windowed) {
        // The pointer shows over the frame; over the picture the window
        // hides it again.
        ShowCursor(TRUE);
    }
    display.windowed = true;
    PlaceWindow();
    return true;
}

bool EnterFullScreen(Surface& primary) {
    HWND window = win32::GameWindow();
    SetWindowLongPtrA(window, GWL_STYLE, kFullScreenStyle);
    SetWindowPos(window, HWND_TOP, 0, 0, static_cast<int>(display.modeWidth),
                 static_cast<int>(display.modeHeight), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    if (FAILED(display.directDraw->SetCooperativeLevel(window, kExclusiveLevel)) ||
        FAILED(display.directDraw->SetDisplayMode(display.modeWidth, display.modeHeight,
                                                  display.modeDepth, 0, 0))) {
        return false;
    }
    display.exclusive = true;
    DDSURFACEDESC2 description = EmptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    description.dwBackBufferCount = 1;
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(display.directDraw->CreateSurface(&description, &primary.surface, nullptr)) ||
        FAILED(primary.surface->GetAttachedSurface(&caps, &primary.backBuffer->surface))) {
        ReleaseChain(primary);
        return false;
    }
    if (display.windowed) {
        ShowCursor(FALSE);
    }
    display.windowed = false;
    return true;
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

void ToggleWindowed() {
    Surface* primary = display.primary;
    if (display.directDraw == nullptr || primary == nullptr || !primary->backBuffer ||
        display.switching) {
        return;
    }
    display.switching = true;
    const uint32_t width = primary->width;
    const uint32_t height = primary->height;
    // The picture on the screen and the one being drawn go with the switch.
    const std::vector<uint8_t> front = ReadRows(primary->surface, width, height);
    const std::vector<uint8_t> back = ReadRows(primary->backBuffer->surface, width, height);
    ReleaseChain(*primary);
    DropEnlarged();
    const bool toWindow = !display.windowed;
    // Whichever cannot be had, the game goes on in the other.
    if (toWindow ? !EnterWindow(*primary) : !EnterFullScreen(*primary)) {
        if (toWindow) {
            EnterFullScreen(*primary);
        } else {
            EnterWindow(*primary);
        }
    }
    WriteRows(primary->surface, width, height, front);
    WriteRows(primary->backBuffer->surface, width, height, back);
    display.switching = false;
    Present();
}

bool Windowed() {
    return display.windowed;
}

void RepaintWindow() {
    Present();
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
