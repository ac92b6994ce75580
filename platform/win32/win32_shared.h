#pragma once
// What the Windows backend's files share: the module and the game window.
#include <windows.h>

namespace korvane::platform::win32 {

// The program's module, for the window class, its icon and DirectInput.
HINSTANCE ModuleHandle();
// The game window; null before WindowCreate. DirectDraw, DirectInput and
// DirectSound attach to it and it owns the message boxes.
HWND GameWindow();

}  // namespace korvane::platform::win32
