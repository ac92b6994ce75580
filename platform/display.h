#pragma once
// The display: full-screen mode, the flipping chain, off-screen surfaces,
// locking, blits, fills and the text context of the counters.
//
// Every call that can fail is one step of its own, so that each failure path
// of the game can be reached by making that one call fail. Surfaces, text
// contexts and fonts are owned by the backend and handed out as plain
// pointers; each is given back through its own release call, which the
// game's code makes through an owning handle.
#include <cstdint>
#include <memory>

namespace korvane::platform {

struct Surface;      // 16-bit pixels in the display's layout; defined by the backend
struct TextContext;  // draws text onto one surface; defined by the backend
struct Font;         // a text face at a size; defined by the backend

// A rectangle of pixels: left and top inside, right and bottom outside.
struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// How a blit, fill or flip went. A lost surface is told apart from other
// errors: its memory is gone until restored, and the game draws on regardless.
enum class BlitResult : int { Ok = 0, Failed = 1, SurfaceLost = 2 };

// Lost surfaces. Where the screen can be taken from the game (another program
// in front, the machine locked), every surface loses its pixels at once, and
// from then on every lock, fill, blit, flip and text context of any surface
// answers that it is lost (a lock false, a text context null). While the
// screen is away nothing can bring them back. Once it is the game's again,
// the first of those calls restores every surface, answers lost all the same
// (its own work is not done, and nothing is tried again), and counts one
// restore; the calls after it draw. A restored off-screen surface holds the
// pixels last written to it through a lock; the primary surface and its back
// buffer hold nothing worth showing until they are drawn again.

// ---- The device and the flipping chain ---------------------------------------

// Gets hold of the display device.
bool DisplayOpen();
// Checks that the device offers every feature the game draws with; when it
// does not, the device is of no use and the caller closes it.
bool DisplayCheckFeatures();
// Takes the whole screen for the game window, exclusively.
bool DisplayTakeScreen();
// Sets the screen to `width` x `height` at `depth` bits per pixel.
bool DisplaySetMode(uint32_t width, uint32_t height, uint32_t depth);
// Puts the screen's own mode back.
void DisplayRestoreMode();
// Gives the device back. Surfaces must have been released first.
void DisplayClose();

// The visible surface with one back buffer attached, sized as the mode; null
// when it cannot be made.
Surface* DisplayCreatePrimary();
// The back buffer attached to `primary`; it belongs to the primary surface and
// goes with it. Null when it cannot be had.
Surface* DisplayBackBuffer(Surface* primary);
// Exchanges the primary surface's pixels with its back buffer's and shows them.
BlitResult SurfaceFlip(Surface* primary);
// How many times the surfaces were restored since the display was opened. A
// picture being composed in the back buffer while this changes is not whole
// and is drawn again before it is shown.
uint32_t DisplayRestoreCount();

// ---- Surfaces -------------------------------------------------------------------

// An off-screen surface of 16-bit pixels; `extraCaps` are placement hints the
// backend may ignore. Null when it cannot be made.
Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t extraCaps);
// Releases a surface made by SurfaceCreateOffscreen or DisplayCreatePrimary.
void SurfaceRelease(Surface* surface);

struct SurfaceReleaser {
    void operator()(Surface* surface) const { SurfaceRelease(surface); }
};
// A surface released when it goes out of scope (a primary surface's back
// buffer with it).
using SurfaceHandle = std::unique_ptr<Surface, SurfaceReleaser>;

// The surface's size in pixels.
void SurfaceSize(const Surface* surface, uint32_t* width, uint32_t* height);

// The red channel's bit mask of the surface's pixels (0xF800 for 5-6-5,
// 0x7C00 for 5-5-5); false, with the mask 0, when it cannot be told.
bool SurfaceRedMask(Surface* surface, uint32_t* redMask);

// The address of the top-left pixel and the bytes from one row's start to the
// next; false when the surface cannot be locked.
bool SurfaceLock(Surface* surface, void** pixels, int32_t* pitch);
// Ends a lock; a lock on the primary surface shows the change at once.
bool SurfaceUnlock(Surface* surface);

// Fills the whole surface with one packed pixel value.
BlitResult SurfaceFill(Surface* surface, uint32_t color);
// Copies `source`'s rectangle `from` so that its top-left lands at `x`, `y` of
// `destination`, opaque. A copy onto the primary surface is shown at once.
BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from);

// ---- Text ---------------------------------------------------------------------------

// A text context that draws onto `surface`; null when none can be had. No blit
// may touch the surface while the context is held.
TextContext* SurfaceGetTextContext(Surface* surface);
bool SurfaceReleaseTextContext(Surface* surface, TextContext* context);

// A face `height` pixels high (a negative height asks for the character
// height, without the leading), `weight` 400 regular to 700 bold; the backend
// takes the closest face it has to `face`. Null when none can be made.
Font* TextFontCreate(int32_t height, int32_t weight, const char* face);
// Makes `font` the context's font and answers the one it had before (null
// when it had none).
Font* TextFontSelect(TextContext* context, Font* font);
void TextFontDelete(Font* font);

// Text layout flags, combined.
inline constexpr uint32_t kTextCenter = 0x01;
inline constexpr uint32_t kTextVerticalCenter = 0x04;
inline constexpr uint32_t kTextSingleLine = 0x20;

// Draws `count` characters of `text` in the context's font, placed in `box` by
// `format` and clipped to it, in `color` (0x00BBGGRR), with a transparent
// background: the surface shows between the letters.
bool TextDrawString(TextContext* context, const char* text, int32_t count, const Rect& box,
                    uint32_t format, uint32_t color);

}  // namespace korvane::platform
