#pragma once
// Showing the game's 640x480 picture of 16-bit 5-6-5 pixels in the window,
// laid out by PlacePicture (a whole-number factor, or the sharp scale that
// fills the screen's height or width) and centred on black.
//
// The picture goes through SDL's window surface, in software: the changed
// part of the picture is scaled straight into the window's own pixels and
// only that part is sent to the display. No GPU stack is loaded, so a broken
// or missing OpenGL cannot stop the game, and a play frame costs a fraction
// of a millisecond even on a 3840x2160 screen.
#include <SDL.h>

#include <cstdint>

namespace korvane::platform::sdl {

// Makes what showing the picture in `window` needs; false when SDL gives the
// window no surface.
bool PresenterOpen(SDL_Window* window, uint32_t width, uint32_t height);
void PresenterClose();

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
