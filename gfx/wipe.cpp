#include "gfx/wipe.h"

#include "gfx/video.h"
#include "timing/clock.h"

namespace korvane {
namespace {

constexpr uint32_t kStripMs = 30;

// The wipe's working values: where the current strip goes, how far the
// screen has been covered, and the strip itself on the back buffer. Set up
// afresh by each wipe.
struct WipeState {
    int32_t destinationX;
    int32_t destinationY;
    int32_t farX;
    int32_t farY;
    platform::Rect source;
};
WipeState wipe = {};

bool CopyStrip() {
    return platform::SurfaceBlitFast(videoDevice.primary.get(), wipe.destinationX,
                                     wipe.destinationY, videoDevice.backBuffer,
                                     wipe.source) == platform::BlitResult::Ok;
}

void MoveOn(uint32_t step, uint32_t direction) {
    const auto by = static_cast<int32_t>(step);
    if (direction == kWipeColumns) {
        wipe.destinationX += by;
        wipe.farX += by;
        wipe.source.left += by;
        wipe.source.right += by;
    } else {
        wipe.destinationY += by;
        wipe.farY += by;
        wipe.source.top += by;
        wipe.source.bottom += by;
    }
}

}  // namespace

int WipeTransition() {
    const uint32_t now = NowMs();
    const int result = (now % 2 == 0) ? WipeStrips(6, kWipeColumns) : WipeStrips(4, kWipeRows);
    return result != 0 ? 1 : 0;
}

int WipeStrips(uint32_t step, uint32_t direction) {
    if ((direction != kWipeColumns && direction != kWipeRows) || step == 0) {
        return 0;
    }
    const auto width = static_cast<int32_t>(videoDevice.width);
    const auto height = static_cast<int32_t>(videoDevice.height);
    const auto by = static_cast<int32_t>(step);
    // The first strip takes the remainder, so all the others are full steps
    // and the last one ends exactly at the screen's edge.
    const uint32_t extent = direction == kWipeColumns ? videoDevice.width : videoDevice.height;
    const auto first = static_cast<int32_t>(extent % step == 0 ? step : extent % step);
    if (direction == kWipeColumns) {
        wipe = {0, 0, first, height, {0, 0, first, height}};
    } else {
        wipe = {0, 0, width, first, {0, 0, width, first}};
    }

    ClockStamp stamp = 0;
    FrameStart(&stamp);
    if (!CopyStrip()) {
        return 0;
    }
    if (direction == kWipeColumns) {
        wipe.destinationX = wipe.farX;
        wipe.source.left = wipe.farX;
        wipe.farX += by;
        wipe.source.right = wipe.farX;
    } else {
        wipe.destinationY = wipe.farY;
        wipe.source.top = wipe.farY;
        wipe.farY += by;
        wipe.source.bottom = wipe.farY;
    }
    // The stamp is taken before each copy, so the copy's own time counts
    // towards the 30 ms between strips.
    WaitSince(stamp, kStripMs);
    for (;;) {
        FrameStart(&stamp);
        if (!CopyStrip()) {
            return 0;
        }
        if (wipe.farX >= width && wipe.farY >= height) {
            return 1;
        }
        MoveOn(step, direction);
        WaitSince(stamp, kStripMs);
    }
}

}  // namespace korvane
