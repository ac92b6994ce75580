#pragma once
// How the game's 640x480 picture is laid on a larger (or smaller) screen or
// window, the same way by every backend that scales it: it fills the
// screen's height, or its width when that binds first, with its aspect kept.
//
// A whole-number factor is taken where it leaves only a small border (less
// than 15 % of the binding side), since every pixel then stays a sharp square.
// Otherwise the picture is scaled sharply: first up by the next whole number
// with nearest (every pixel the same size), then smoothly down to the size,
// so edges stay crisp and no row or column is doubled unevenly.
#include <cstdint>

namespace korvane::platform {

struct PicturePlacement {
    // Where the picture lands on the screen, centred: top-left and size.
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    // The whole-number factor of the nearest step (1 when the picture is not
    // enlarged before the smooth step), and whether a smooth step follows.
    int32_t nearestFactor = 1;
    bool smooth = false;
};

// The placement of a `pictureWidth` x `pictureHeight` picture on a
// `screenWidth` x `screenHeight` screen; a picture of no size, or a screen
// of no size, gives an empty placement at the origin.
PicturePlacement PlacePicture(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                              int32_t screenHeight);

}  // namespace korvane::platform
