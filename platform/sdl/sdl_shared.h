#pragma once
// What the SDL backend's files share: SDL's start-up and the one window.
#include <SDL.h>

#include <cstdint>

namespace korvane::platform::sdl {

// Starts the SDL subsystems in `flags` (SDL_INIT_VIDEO, SDL_INIT_AUDIO, ...);
// each is started once and stopped at exit. False when SDL refuses.
bool StartSubsystems(uint32_t flags);

// The game's window: the one the program shell created, or, for programs that
// use the display alone (tests, benchmarks), one created here on first use.
// Null when no window can be made (no display).
SDL_Window* GameWindow();

}  // namespace korvane::platform::sdl
