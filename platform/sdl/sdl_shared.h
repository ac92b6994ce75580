#pragma once
// What the SDL backend's files share: SDL's start-up and the one window.
#include <SDL.h>

#include <cstdint>

namespace korvane::platform::sdl {

// Starts the SDL subsystems in `flags` (SDL_INIT_VIDEO, SDL_INIT_AUDIO, ...);
// each is started once and stopped at exit. False when SDL refuses, and for
// video when the only driver SDL finds shows nothing (off-screen, dummy).
bool StartSubsystems(uint32_t flags);

// The game's window: the one the program shell created, or, for programs that
// use the display alone (tests, benchmarks), one created here on first use.
// Null when no window can be made (no display).
SDL_Window* GameWindow();

// Whether a window manager looks after windows' places and sizes on the
// desktop SDL's video runs on.
bool HasWindowManager();

// SDL asks the window manager for the full screen only once a window made
// full screen has been shown, and the manager has shown it framed by then:
// marked full screen before it is shown, the window never appears otherwise.
void MarkFullScreenBeforeShown(SDL_Window* window);

// Asks a compositor to stand aside for the window (on the whole screen), or
// takes the request back (in a window, where the desktop around it is seen).
void SetCompositorBypass(SDL_Window* window, bool bypass);

// Puts the game window on the whole screen of the display it is on, or in a
// window on that display as large as its usable area allows for the picture
// laid out as on a screen (picture_scale.h), in the middle of that area.
// False when the desktop refuses.
bool SetFullScreen(bool fullScreen);

// Lets the window answer the desktop while the game is busy elsewhere (its
// start-up pauses, a wipe, the pause after a game): at most every 20 ms, takes
// in the host's events and acts on Alt+Enter and on a window to draw again.
// The events the game's own message loop reads stay queued for it; keys, text
// and the pointer never queue (the keyboard and mouse are read as states).
void ServiceWindow();

// Looks after the sound device while the game is busy elsewhere: at most
// every quarter of a second, sees whether SDL stopped it (its sound server
// went away) and then, once a second, opens a new one that the sounds move
// to as they are.
void ServiceSound();

// Shows the primary surface again, whole: the window was uncovered, resized
// or switched between full screen and windowed.
void RedrawWindow();

}  // namespace korvane::platform::sdl
