#include "platform/common/picture_scale.h"

#include <algorithm>

namespace korvane::platform {
namespace {

// A whole-number factor is kept when the border it leaves on the binding
// side is under this share of that side, in hundredths.
constexpr int64_t kBorderShareLimit = 15;

}  // namespace

PicturePlacement PlacePicture(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                              int32_t screenHeight) {
    PicturePlacement at;
    if (pictureWidth <= 0 || pictureHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) {
        at.width = 0;
        at.height = 0;
        return at;
    }
    const int64_t pw = pictureWidth;
    const int64_t ph = pictureHeight;
    const int64_t sw = screenWidth;
    const int64_t sh = screenHeight;
    // The height binds when the screen is relatively wider than the picture.
    const bool heightBinds = sw * ph >= sh * pw;
    const int64_t side = heightBinds ? sh : sw;
    const int64_t pictureSide = heightBinds ? ph : pw;

    const int64_t whole = side / pictureSide;
    const bool wholeFits =
        whole >= 1 && (side - whole * pictureSide) * 100 < side * kBorderShareLimit;
    int64_t width = 0;
    int64_t height = 0;
    if (wholeFits) {
        width = pw * whole;
        height = ph * whole;
        at.nearestFactor = static_cast<int32_t>(whole);
        at.smooth = false;
    } else {
        // The binding side is filled; the other follows the aspect, rounded.
        if (heightBinds) {
            height = sh;
            width = std::min(sw, (sh * pw + ph / 2) / ph);
        } else {
            width = sw;
            height = std::min(sh, (sw * ph + pw / 2) / pw);
        }
        at.nearestFactor =
            static_cast<int32_t>(std::max<int64_t>(1, (side + pictureSide - 1) / pictureSide));
        at.smooth = true;
    }
    at.width = static_cast<int32_t>(width);
    at.height = static_cast<int32_t>(height);
    at.x = static_cast<int32_t>((sw - width) / 2);
    at.y = static_cast<int32_t>((sh - height) / 2);
    return at;
}

}  // namespace korvane::platform
