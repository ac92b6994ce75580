#pragma once
// The game, as each system's own entry point starts it (main on the desktop
// and in the page, WinMain on Windows). The game's library defines it; the
// entry points around it do only what their system asks of a program.
namespace korvane {

// Creates the window, starts up, runs one frame per loop turn until the
// menu's exit or a quit message, shuts down. Returns the exit code: the
// parameter of the last message the loop took (0 when none), or 1 after a
// failed start-up, which is also reported in one line on standard error.
int WinMain();

}  // namespace korvane
