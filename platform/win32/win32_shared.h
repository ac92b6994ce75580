#pragma once
// What the Windows backend's files share: the module, the game window, and
// what the window asks of the display.
#include <windows.h>

namespace korvane::platform::win32 {

// The program's module, for the window class, its icon and DirectInput.
HINSTANCE ModuleHandle();
// The game window; null before WindowCreate. DirectDraw, DirectInput and
// DirectSound attach to it and it owns the message boxes.
HWND GameWindow();

// ---- The display, for the window (win32_display.cpp) ------------------------
// Alt+Enter: from the exclusive full screen to a window on the desktop and
// back, the picture kept; nothing happens before the display is up.
void ToggleWindowed();
bool Windowed();
// Shows the picture in the window again (it was uncovered or moved).
void RepaintWindow();
// Before a message box: in the exclusive full screen, the surface that
// dialogs are drawn on is made the visible one. True when the game's picture
// was flipped away for it, so that ShowGamePicture brings it back after.
bool ShowDialogSurface();
void ShowGamePicture();

}  // namespace korvane::platform::win32
