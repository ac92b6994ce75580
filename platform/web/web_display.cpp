// The browser's display: 16-bit surfaces in plain memory; the primary surface
// is shown on the page's 640x480 canvas, and the page scales the canvas.
#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/common/memory_surface.h"
#include "platform/common/picture_scale.h"
#include "platform/display.h"
#include "platform/web/web_shared.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(int, korvane_web_has_canvas, (), { return KorvaneWeb.canvas() ? 1 : 0; });
EM_JS(void, korvane_web_size_canvas, (int width, int height), {
    var canvas = KorvaneWeb.canvas();
    canvas.width = width;
    canvas.height = height;
    KorvaneWeb.layOut();
});
EM_JS(void, korvane_web_flipped, (), { KorvaneWeb.flipped(); });
EM_JS(void, korvane_web_present,
      (const void* rgba, int width, int height, int x, int y, int w, int h),
      { KorvaneWeb.present(rgba, width, height, x, y, w, h); });
// NOLINTEND

}  // namespace

namespace korvane::platform {
namespace {

struct DisplayState {
    bool open = false;
    bool checked = false;
    uint32_t width = 640;
    uint32_t height = 480;
    MemorySurfaces surfaces;
    std::vector<uint32_t> rgba;  // the canvas's pixels, red first in memory
};
DisplayState display;

bool Visible(const Surface* surface) {
    return surface->kind == Surface::Kind::Primary;
}

// 5-6-5 to 8-bit channels, each widened by repeating its top bits below, as
// the headless display's pictures are.
uint32_t Rgba(uint16_t pixel) {
    const uint32_t r = (pixel >> 11) & 0x1F;
    const uint32_t g = (pixel >> 5) & 0x3F;
    const uint32_t b = pixel & 0x1F;
    const uint32_t r8 = (r << 3) | (r >> 2);
    const uint32_t g8 = (g << 2) | (g >> 4);
    const uint32_t b8 = (b << 3) | (b >> 2);
    return 0xFF000000U | b8 << 16 | g8 << 8 | r8;
}

}  // namespace

void web::Present(const Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (surface.width != display.width || surface.height != display.height || w <= 0 || h <= 0) {
        return;
    }
    display.rgba.resize(static_cast<size_t>(display.width) * display.height);
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            display.rgba[static_cast<size_t>(row) * display.width + column] =
                Rgba(surface.Get(static_cast<uint32_t>(column), static_cast<uint32_t>(row)));
        }
    }
    korvane_web_present(display.rgba.data(), static_cast<int>(display.width),
                        static_cast<int>(display.height), x, y, w, h);
}

namespace {

void PresentWhole(const Surface& surface) {
    web::Present(surface, 0, 0, static_cast<int32_t>(surface.width),
                 static_cast<int32_t>(surface.height));
}

// The rows in which two pictures of the same size differ: [first, end).
void ChangedRows(const Surface& now, const Surface& before, int32_t* first, int32_t* end) {
    const auto rowBytes = static_cast<size_t>(now.width) * 2;
    auto differs = [&](uint32_t row) {
        return std::memcmp(now.bytes.data() + static_cast<size_t>(row) * now.pitch,
                           before.bytes.data() + static_cast<size_t>(row) * before.pitch,
                           rowBytes) != 0;
    };
    uint32_t top = 0;
    while (top < now.height && !differs(top)) {
        ++top;
    }
    uint32_t bottom = now.height;
    while (bottom > top && !differs(bottom - 1)) {
        --bottom;
    }
    *first = static_cast<int32_t>(top);
    *end = static_cast<int32_t>(bottom);
}

}  // namespace

bool DisplayOpen() {
    display.open = korvane_web_has_canvas() != 0;
    return display.open;
}

bool DisplayCheckFeatures() {
    // The game draws in memory and the page shows the result: a canvas with a
    // 2D context is all the device must offer.
    display.checked = display.open;
    return display.checked;
}

bool DisplayTakeScreen() {
    // The page is the game's screen; full screen is the player's choice.
    return display.open;
}

bool DisplaySetMode(uint32_t width, uint32_t height, uint32_t depth) {
    if (depth != 16 || width == 0 || height == 0 || !display.checked) {
        return false;
    }
    display.width = width;
    display.height = height;
    korvane_web_size_canvas(static_cast<int>(width), static_cast<int>(height));
    return true;
}

void DisplayRestoreMode() {
    // The page's size was never changed: there is nothing to put back.
}

void DisplayClose() {
    display.open = false;
    display.checked = false;
}

Surface* DisplayCreatePrimary() {
    return display.surfaces.CreatePrimary(display.width, display.height, 0);
}

Surface* DisplayBackBuffer(Surface* primary) {
    return display.surfaces.Known(primary) ? primary->backBuffer.get() : nullptr;
}

uint32_t DisplayRestoreCount() {
    return 0;  // the surfaces live in the module's memory, which nothing takes away
}

BlitResult SurfaceFlip(Surface* primary) {
    if (display.surfaces.Flip(primary) != BlitResult::Ok) {
        return BlitResult::Failed;
    }
    // The back buffer now holds what the canvas showed until this flip, so
    // only the rows that differ from it are sent.
    int32_t first = 0;
    int32_t end = 0;
    ChangedRows(*primary, *primary->backBuffer, &first, &end);
    web::Present(*primary, 0, first, static_cast<int32_t>(primary->width), end - first);
    korvane_web_flipped();
    return BlitResult::Ok;
}

Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t /*extraCaps*/) {
    return display.surfaces.CreateOffscreen(width, height, 0);
}

void SurfaceRelease(Surface* surface) {
    display.surfaces.Release(surface);
}

bool SurfaceRedMask(Surface* surface, uint32_t* redMask) {
    *redMask = display.surfaces.Known(surface) ? 0xF800 : 0;
    return *redMask != 0;
}

bool SurfaceLock(Surface* surface, void** pixels, int32_t* pitch) {
    return display.surfaces.Lock(surface, pixels, pitch);
}

bool SurfaceUnlock(Surface* surface) {
    if (!display.surfaces.Known(surface)) {
        return false;
    }
    if (Visible(surface)) {
        PresentWhole(*surface);
    }
    return true;
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    const BlitResult result = display.surfaces.Fill(surface, color);
    if (result == BlitResult::Ok && Visible(surface)) {
        PresentWhole(*surface);
    }
    return result;
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    const BlitResult result = display.surfaces.BlitFast(destination, x, y, source, from);
    // A strip copied onto the screen is seen at once, so the wipe shows.
    if (result == BlitResult::Ok && Visible(destination)) {
        web::Present(*destination, x, y, from.right - from.left, from.bottom - from.top);
    }
    return result;
}

}  // namespace korvane::platform

// The page lays the canvas out with the game's own placement rule; the answer
// is x, y, width, height, the nearest factor and whether a smooth step follows.
extern "C" EMSCRIPTEN_KEEPALIVE const int32_t* korvane_web_place(int32_t pictureWidth,
                                                                 int32_t pictureHeight,
                                                                 int32_t viewWidth,
                                                                 int32_t viewHeight) {
    static int32_t answer[6];
    const korvane::platform::PicturePlacement at =
        korvane::platform::PlacePicture(pictureWidth, pictureHeight, viewWidth, viewHeight);
    answer[0] = at.x;
    answer[1] = at.y;
    answer[2] = at.width;
    answer[3] = at.height;
    answer[4] = at.nearestFactor;
    answer[5] = at.smooth ? 1 : 0;
    return answer;
}
