#include "gfx/video.h"

#include "platform/window.h"

namespace korvane {

VideoDevice videoDevice;

void ResetVideoState() {
    // What is left belongs to a machine that is gone: forgotten, not released.
    static_cast<void>(videoDevice.primary.release());
    videoDevice = VideoDevice{};
}

namespace {

// A refused flip is asked for again this many times in all before the frame
// gives it up; a lost surface is given up at once, since asking again cannot
// bring it back.
constexpr int kFlipAttempts = 100;

int InitFailed(const char* message) {
    platform::ShowMessageBox(message);
    return 0;
}

}  // namespace

int VideoInit(uint32_t width, uint32_t height, uint32_t depth) {
    if (!platform::DisplayOpen()) {
        return InitFailed("Unable to create Direct Draw Object.");
    }
    if (!platform::DisplayCheckFeatures()) {
        // A device that cannot draw what the game needs is of no use to keep.
        platform::DisplayClose();
        return InitFailed("Unable to create Direct Draw 4 Object. Make sure you have DX 6.0+.");
    }
    videoDevice.displayOpen = true;
    if (!platform::DisplayTakeScreen()) {
        return InitFailed("Unable to Set the Cooperative Level.");
    }
    if (!platform::DisplaySetMode(width, height, depth)) {
        return InitFailed("Unable to Set the Display Mode.");
    }
    videoDevice.width = width;
    videoDevice.height = height;
    videoDevice.depth = depth;
    videoDevice.primary.reset(platform::DisplayCreatePrimary());
    if (!videoDevice.primary) {
        return InitFailed("Unable to create primary surface.");
    }
    videoDevice.backBuffer = platform::DisplayBackBuffer(videoDevice.primary.get());
    if (videoDevice.backBuffer == nullptr) {
        return InitFailed("Unable to create back buffer.");
    }
    VideoDetectPixelFormat(videoDevice.primary.get());
    return 1;
}

int VideoShutdown() {
    // Also runs after a VideoInit that stopped part of the way: each step
    // looks at what exists. The screen is not handed back before the mode.
    if (videoDevice.displayOpen) {
        platform::DisplayRestoreMode();
    }
    videoDevice.backBuffer = nullptr;
    videoDevice.primary.reset();  // the back buffer goes with it
    if (videoDevice.displayOpen) {
        platform::DisplayClose();
        videoDevice.displayOpen = false;
    }
    return 1;
}

int VideoDetectPixelFormat(platform::Surface* surface) {
    uint32_t redMask = 0;
    if (surface == nullptr || !platform::SurfaceRedMask(surface, &redMask)) {
        redMask = 0;
    }
    // A mask of 0 has no lowest set bit: there is nothing to count, and the
    // layout stays as it was.
    if (redMask == 0) {
        return 1;
    }
    int redShift = 0;
    while ((redMask & 1U) == 0) {
        redMask >>= 1;
        ++redShift;
    }
    if (videoDevice.depth == 16) {
        videoDevice.layout = redShift == 10 ? PixelLayout::Rgb555 : PixelLayout::Rgb565;
    }
    return 1;
}

void* VideoLock(platform::Surface* surface, int32_t* pitch) {
    if (surface == nullptr) {
        return nullptr;
    }
    if (surface == videoDevice.backBuffer) {
        videoDevice.restoresAtDrawing = platform::DisplayRestoreCount();
    }
    void* pixels = nullptr;
    int32_t surfacePitch = 0;
    if (!platform::SurfaceLock(surface, &pixels, &surfacePitch)) {
        return nullptr;
    }
    if (pitch != nullptr) {
        *pitch = surfacePitch;
    }
    return pixels;
}

int VideoUnlock(platform::Surface* surface) {
    if (surface == nullptr) {
        return 0;
    }
    platform::SurfaceUnlock(surface);
    return 1;
}

platform::SurfaceHandle VideoCreateOffscreen(uint32_t width, uint32_t height, uint32_t extraCaps) {
    return platform::SurfaceHandle(platform::SurfaceCreateOffscreen(width, height, extraCaps));
}

int VideoFlip() {
    // The surfaces were lost and brought back while this picture was drawn:
    // what is in the back buffer is partly nothing. It is not shown; the next
    // frame draws its picture whole.
    if (platform::DisplayRestoreCount() != videoDevice.restoresAtDrawing) {
        return 0;
    }
    for (int attempt = 0; attempt < kFlipAttempts; ++attempt) {
        const platform::BlitResult result = platform::SurfaceFlip(videoDevice.primary.get());
        if (result == platform::BlitResult::Ok) {
            return 1;
        }
        if (result == platform::BlitResult::SurfaceLost) {
            return 0;
        }
    }
    return 0;
}

int VideoFill(platform::Surface* surface, uint8_t red, uint8_t green, uint8_t blue) {
    uint32_t color = 0;
    if (videoDevice.depth == 16) {
        color = PackPixel(videoDevice.layout, red, green, blue);
    } else if (videoDevice.depth == 24) {
        color = static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | blue;
    }
    platform::SurfaceFill(surface, color);
    return 1;
}

TextContextHandle VideoGetDC(platform::Surface* surface) {
    return TextContextHandle(platform::SurfaceGetTextContext(surface),
                             TextContextReleaser{surface});
}

int VideoReleaseDC(platform::Surface* surface, platform::TextContext* context) {
    return platform::SurfaceReleaseTextContext(surface, context) ? 1 : 0;
}

int VideoCopyImage(platform::Surface* surface, const Image& image, uint32_t width, uint32_t height,
                   uint32_t /*depth*/) {
    int32_t pitch = 0;
    void* pixels = VideoLock(surface, &pitch);
    if (pixels == nullptr) {
        return 0;
    }
    // A picture larger than the surface is cut at the surface's edges; its
    // rows are still stepped through at the picture's own width.
    uint32_t surfaceWidth = 0;
    uint32_t surfaceHeight = 0;
    platform::SurfaceSize(surface, &surfaceWidth, &surfaceHeight);
    ImageCopyRowsCut(pixels, image, pitch, width, width < surfaceWidth ? width : surfaceWidth,
                     height < surfaceHeight ? height : surfaceHeight);
    return VideoUnlock(surface) == 0 ? 0 : 1;
}

}  // namespace korvane
