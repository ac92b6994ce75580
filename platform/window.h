#pragma once
// The game's one window: message boxes for start-up failures, and (declared
// with the program shell) the window itself and its message loop.
namespace korvane::platform {

// Shows a modal message box owned by the game window with `text`, no caption
// of its own and a single OK button; returns when it has been dismissed.
void ShowMessageBox(const char* text);

}  // namespace korvane::platform
