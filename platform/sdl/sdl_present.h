#pragma once
// Showing the game's 640x480 picture of 16-bit 5-6-5 pixels in the window,
// scaled by whole multiples where the window allows (else the largest fit
// that keeps the aspect), centred on black, never smoothed.
//
// Two ways to show it. The window surface (software, the default): the
// changed part of the picture is widened and scaled straight into the
// window's own pixels and only that part is sent to the display, with no GPU
// stack loaded at all. The renderer (a GPU texture): taken only where the
// machine has a GPU and the screen is large enough that scaling in software
// would cost more than the GPU stack does, or when KORVANE_PRESENT=gpu asks
// for it.
#include <SDL.h>

#include <cstdint>

namespace korvane::platform::sdl {

enum class PresentPath : uint8_t { None, WindowSurface, Renderer };

// Chooses the path for `window` and makes what it needs; false when neither
// can be had. KORVANE_PRESENT=software or gpu forces one; when it is set at
// all, the path taken is written to standard error.
bool PresenterOpen(SDL_Window* window, uint32_t width, uint32_t height);
void PresenterClose();
PresentPath PresenterPath();

// Shows `pixels` (the whole picture, `pitch` bytes a row). `previous` is what
// the window showed last, or null when unknown: only the rows that differ
// from it are sent. `band` limits the update to a band of the picture (a
// wipe's strip); null means the whole picture.
void PresenterShow(const uint8_t* pixels, int32_t pitch, const uint8_t* previous,
                   const SDL_Rect* band);

// The window's size or visibility changed, or part of it was uncovered: the
// next show sends the whole window again, borders included.
void PresenterInvalidate();

}  // namespace korvane::platform::sdl
