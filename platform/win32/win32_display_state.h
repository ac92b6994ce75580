#pragma once
// What the Windows display's three files share: the one DirectDraw display
// and its state (win32_display.cpp, the seam's display and surface calls in
// the exclusive full-screen mode), the picture in a window on the desktop
// after Alt+Enter (win32_window_mode.cpp), and the pixels kept for surfaces
// lost to another program (win32_lost_surfaces.cpp).
#include <set>
#include <vector>

#include "platform/win32/win32_display.h"
#include "platform/win32/win32_shared.h"

namespace korvane::platform::win32 {

inline constexpr DWORD kExclusiveLevel =
    DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX;

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
extern DisplayState display;

inline DDSURFACEDESC2 EmptyDescription() {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof description;
    return description;
}

// Kept pixels (win32_lost_surfaces.cpp).
// A surface's pixels as rows of width * 2 bytes; empty when it cannot be locked.
std::vector<uint8_t> ReadRows(IDirectDrawSurface4* surface, uint32_t width, uint32_t height);
// Writes rows of width * 2 bytes into a surface; black where there are none.
void WriteRows(IDirectDrawSurface4* surface, uint32_t width, uint32_t height,
               const std::vector<uint8_t>& rows);

// The window (win32_window_mode.cpp).
// A 16-bit surface in system memory in the picture's format, for the window.
IDirectDrawSurface4* MakeMemorySurface(uint32_t width, uint32_t height);
// Releases a surface of the display's, in memory or not, and forgets it.
void ReleaseSurface(IDirectDrawSurface4** surface);
// Shows the front surface in the window; nothing in the full-screen mode.
void Present();
// Lets go of the enlarged copy the window's smooth scaling keeps.
void DropEnlarged();

}  // namespace korvane::platform::win32
