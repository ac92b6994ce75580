// The picture in a window on the desktop, and the switch to it and back on
// Alt+Enter. Surfaces made for the exclusive mode cannot be shown on a
// desktop of another depth, so in a window every surface lives in system
// memory in the picture's own format, and GDI stretches the front one onto
// the window.
#include <cstring>
#include <utility>
#include <vector>

#include "platform/common/picture_scale.h"
#include "platform/win32/win32_display_state.h"

namespace korvane::platform::win32 {
namespace {

constexpr LONG_PTR kFullScreenStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// A window of a fixed size: no edge to drag, no maximize button.
constexpr LONG_PTR kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

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

void DropEnlarged() {
    if (enlarged.dc != nullptr) {
        SelectObject(enlarged.dc, enlarged.replaced);
        DeleteObject(enlarged.bitmap);
        DeleteDC(enlarged.dc);
    }
    enlarged = Enlarged{};
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

}  // namespace korvane::platform::win32
