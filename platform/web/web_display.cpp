// The page's screen: the shared memory surfaces (platform/common/
// memory_display.cpp) shown on the page's 640x480 canvas, which the page
// scales.
#include <emscripten.h>

#include <cstring>
#include <vector>

#include "platform/common/memory_backend.h"
#include "platform/common/picture_scale.h"
#include "platform/pixel_565.h"

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

struct Canvas {
    bool open = false;
    uint32_t width = 640;
    uint32_t height = 480;
    std::vector<uint32_t> rgba;  // the canvas's pixels, red first in memory
};
Canvas canvas;

// Shows the rectangle (x, y, w, h) of a surface the size of the canvas.
void Present(const Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (surface.width != canvas.width || surface.height != canvas.height || w <= 0 || h <= 0) {
        return;
    }
    canvas.rgba.resize(static_cast<size_t>(canvas.width) * canvas.height);
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            const Rgb8 wide =
                Widen565(surface.Get(static_cast<uint32_t>(column), static_cast<uint32_t>(row)));
            canvas.rgba[static_cast<size_t>(row) * canvas.width + column] =
                0xFF000000U | uint32_t{wide.b} << 16 | uint32_t{wide.g} << 8 | wide.r;
        }
    }
    korvane_web_present(canvas.rgba.data(), static_cast<int>(canvas.width),
                        static_cast<int>(canvas.height), x, y, w, h);
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

namespace backend {

bool OpenScreen() {
    canvas.open = korvane_web_has_canvas() != 0;
    return canvas.open;
}

bool ScreenFits() {
    // The page shows what is drawn in memory: a canvas with a 2D context is
    // all the device must offer.
    return canvas.open;
}

bool TakeScreen() {
    // The page is the game's screen; full screen is the player's choice.
    return canvas.open;
}

bool SizeScreen(uint32_t width, uint32_t height) {
    canvas.width = width;
    canvas.height = height;
    korvane_web_size_canvas(static_cast<int>(width), static_cast<int>(height));
    return true;
}

void CloseScreen() {
    canvas.open = false;
}

void ShowArea(const Surface& primary, const Rect& area) {
    Present(primary, area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void ShowFlip(const Surface& primary) {
    // Only the rows that differ from what the canvas showed are sent.
    int32_t first = 0;
    int32_t end = 0;
    ChangedRows(primary, *primary.backBuffer, &first, &end);
    Present(primary, 0, first, static_cast<int32_t>(primary.width), end - first);
    korvane_web_flipped();
}

}  // namespace backend
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
