#pragma once
// Control panel of the headless display: the pixel layout it reports, what
// was flipped, copied, filled and written, and the pixels themselves.
//
// Failure steps: "display.open", "display.version", "display.exclusive",
// "display.mode", "display.primary", "display.backbuffer" (the six start-up
// steps), "display.format" (the red mask cannot be read: mask 0),
// "display.offscreen", "display.lock", "display.unlock", "display.flip",
// "display.fill", "display.blit", "display.textcontext", "display.font",
// "display.text". A failing flip, fill or blit answers a lost surface when
// its code is kSurfaceLost and any other error otherwise. Losing the screen
// (below) is a state of its own rather than a failing step.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/display.h"

namespace korvane::fake {

inline constexpr int kSurfaceLost = static_cast<int>(platform::BlitResult::SurfaceLost);

// ---- Set before VideoInit ----------------------------------------------------
enum class Layout { Rgb565, Rgb555 };
// The layout the display reports and that text is drawn in (5-6-5 unless set).
void SetDisplayLayout(Layout layout);
// Any red mask the display is to report, 0 included; overrides the layout's.
void SetRedMask(uint32_t mask);
// Extra bytes at the end of every surface row made from now on (even), so the
// pitch is wider than the row.
void SetPitchPadding(uint32_t bytes);

// ---- Losing the screen, as Windows does ------------------------------------------
// Another program takes the screen (the game switched away from, the machine
// locked): every surface's pixels are lost, and every lock, fill, blit, flip
// and text context answers lost; nothing can restore them.
void SwitchAway();
// The screen is the game's again: the next of those calls restores every
// surface, off-screen ones with the pixels last unlocked in them, and still
// answers lost; the calls after it draw.
void SwitchBack();

// ---- The pictures ---------------------------------------------------------------
enum class Buffer { Visible, Back };
// The primary surface (what the screen shows) or its back buffer; null
// before VideoInit made them.
platform::Surface* DisplaySurface(Buffer which);
// One 16-bit pixel of any surface; 0 outside it.
uint16_t PixelAt(const platform::Surface* surface, int32_t x, int32_t y);
uint16_t PixelAt(Buffer which, int32_t x, int32_t y);
// A 32-bit hash of a picture's pixels, for traces: the 16-bit values row by
// row from the top, four at a time as a little-endian 64-bit word (a row's
// last word padded with zeros), each word taken into h = (h ^ word) *
// 0x100000001B3 from h = 0xCBF29CE484222325; the result is h's two halves
// exclusive-or'ed. 0 when there is no such surface.
uint32_t PictureHash(Buffer which);
// Writes the picture as an 8-bit RGB PNG at a host path; false when there is
// no such surface or the file cannot be written.
bool SavePng(Buffer which, const std::string& hostPath);
bool SavePng(const platform::Surface* surface, const std::string& hostPath);

// ---- What happened --------------------------------------------------------------
struct BlitCall {
    const platform::Surface* destination;
    int32_t x;
    int32_t y;
    const platform::Surface* source;
    platform::Rect from;
    platform::BlitResult result;
    uint64_t atNs;  // virtual time of the copy
};
// Every fast blit attempted since the last Reset or ClearDisplayRecords.
const std::vector<BlitCall>& Blits();
// Blits onto the primary surface that went through: the wipe's strips.
int StripCopies();
int Flips();  // flips taken
// The last packed fill colour handed to the display, and how many fills.
uint32_t LastFillColor();
int Fills();

struct TextDrawCall {
    std::string text;
    platform::Rect box;
    uint32_t format;
    uint32_t color;    // 0x00BBGGRR
    std::string face;  // of the font selected when drawing; empty for none
    int32_t height;
    int32_t weight;
};
const std::vector<TextDrawCall>& TextDraws();
int FontsAlive();        // made and not yet deleted
int TextContextsHeld();  // got and not yet released
int SurfacesAlive();     // primaries and off-screen surfaces not yet released

void ClearDisplayRecords();  // blits, strips, flips, fills, text draws

}  // namespace korvane::fake
