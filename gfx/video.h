#pragma once
// The video device: the full-screen 640x480 mode at 16 bits per pixel, a
// visible primary surface with one back buffer for page flipping, and the
// small surface operations the rest of the game draws with.
#include <cstdint>
#include <memory>

#include "gfx/image.h"
#include "platform/display.h"

namespace korvane {

// The one screen mode the game uses.
inline constexpr uint32_t kScreenWidth = 640;
inline constexpr uint32_t kScreenHeight = 480;
inline constexpr uint32_t kScreenDepth = 16;

struct VideoDevice {
    bool displayOpen = false;                 // the display device is held
    platform::SurfaceHandle primary;          // the visible surface and its flipping chain
    platform::Surface* backBuffer = nullptr;  // belongs to `primary`; every frame is drawn here
    uint32_t width = 0;                       // recorded once the mode is set
    uint32_t height = 0;
    uint32_t depth = 0;
    PixelLayout layout = PixelLayout::Rgb565;  // until VideoDetectPixelFormat finds otherwise
    // The display's restore count when the back buffer's picture was begun
    // (its last lock): a restore since then took that picture's pixels.
    uint32_t restoresAtDrawing = 0;
};

extern VideoDevice videoDevice;

// Takes the screen at `width` x `height` x `depth` with a flipping chain of one
// back buffer and detects the pixel layout. Each failing step shows its own
// message box and answers 0 at once, keeping what it had obtained.
int VideoInit(uint32_t width, uint32_t height, uint32_t depth);
// Restores the mode and releases whatever VideoInit obtained; always 1.
int VideoShutdown();

// The surface's top-left pixel, storing its pitch when `pitch` is not null;
// null when there is no surface or it cannot be locked. Every picture of the
// back buffer begins with its lock.
void* VideoLock(platform::Surface* surface, int32_t* pitch);
// 0 when there is no surface, else 1 whatever the unlock answered.
int VideoUnlock(platform::Surface* surface);

// A new off-screen surface owned by the caller, or none.
platform::SurfaceHandle VideoCreateOffscreen(uint32_t width, uint32_t height, uint32_t extraCaps);

// Shows the back buffer. 1 once the flip has been taken; 0 when the surfaces
// are lost, were restored since the back buffer's picture was begun (so it is
// not whole), or the flip keeps being refused, and the picture stays as it was.
int VideoFlip();

// Fills the whole surface with a colour packed by the device's depth and
// layout; always 1.
int VideoFill(platform::Surface* surface, uint8_t red, uint8_t green, uint8_t blue);

// Gives a text context back to its surface; 1, or 0 when it was not held.
int VideoReleaseDC(platform::Surface* surface, platform::TextContext* context);

struct TextContextReleaser {
    platform::Surface* surface;
    void operator()(platform::TextContext* context) const { VideoReleaseDC(surface, context); }
};
// A text context given back to its surface when it goes out of scope.
using TextContextHandle = std::unique_ptr<platform::TextContext, TextContextReleaser>;

// A text context on the surface, or none. No blit may touch the surface while
// it is held.
TextContextHandle VideoGetDC(platform::Surface* surface);

// Forgets the device, releasing nothing, as at program start: for after
// VideoShutdown, or once the machine that made it has gone.
void ResetVideoState();

// Sets the device's layout from the surface's red mask (depth 16 only); always 1.
int VideoDetectPixelFormat(platform::Surface* surface);

// Lock, copy the image's rows at the surface's pitch, unlock; 1 or 0.
int VideoCopyImage(platform::Surface* surface, const Image& image, uint32_t width, uint32_t height,
                   uint32_t depth);

}  // namespace korvane
