#pragma once
// Draws the game's 16-bit 5-6-5 picture onto a screen of 32-bit pixels, laid
// out by PlacePicture (picture_scale.h): a whole-number factor by repeating
// pixels, or the sharp scale, which is the picture enlarged by a whole number
// with nearest and then smoothed down to its place. The sharp scale is done in
// one pass: every screen pixel reads at most two neighbouring picture pixels
// in each direction, and only where a picture pixel's edge falls inside it, so
// flat areas stay exact and each edge is blended over one screen pixel at most.
//
// Only the part of the screen that a changed part of the picture reaches is
// drawn again, so a frame that moves one piece costs a few thousand pixels.
#include <cstdint>
#include <vector>

#include "platform/common/picture_scale.h"

namespace korvane::platform {

// A rectangle, left and top included, right and bottom not.
struct PixelBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};

// 32-bit screen pixels with 8-bit channels at the given bit positions.
struct ScreenPixels {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;  // bytes a row
    uint32_t redShift = 16;
    uint32_t greenShift = 8;
    uint32_t blueShift = 0;
    uint32_t alphaMask = 0;  // set in every pixel written
};

class PictureScaler {
  public:
    // Lays a `pictureWidth` x `pictureHeight` picture on a `screenWidth` x
    // `screenHeight` screen; done again only when one of them changes.
    void Prepare(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                 int32_t screenHeight);
    const PicturePlacement& Placement() const { return placement_; }

    // The screen pixels whose colour depends on the picture's `part` (in
    // picture pixels); empty when the part is empty or nothing is placed.
    PixelBox Reach(const PixelBox& part) const;

    // Draws the screen pixels that the picture's `part` reaches from
    // `pixels` (the whole picture, `pitch` bytes a row) and returns them.
    PixelBox Draw(const uint8_t* pixels, int32_t pitch, const PixelBox& part,
                  const ScreenPixels& screen);

  private:
    // For one screen column (or row): the picture column it reads, the next
    // one, and the share of the next in 256ths (0 when it reads one only).
    struct Tap {
        int32_t first;
        int32_t second;
        uint32_t weight;
    };
    static std::vector<Tap> Taps(int32_t pictureSide, int32_t placedSide, int32_t factor);
    void DrawWhole(const uint8_t* pixels, int32_t pitch, const PixelBox& part,
                   const ScreenPixels& screen) const;
    void DrawSharp(const uint8_t* pixels, int32_t pitch, const PixelBox& reach,
                   const ScreenPixels& screen);

    int32_t pictureWidth_ = 0;
    int32_t pictureHeight_ = 0;
    int32_t screenWidth_ = 0;
    int32_t screenHeight_ = 0;
    PicturePlacement placement_;
    std::vector<Tap> columns_;
    std::vector<Tap> rows_;
    // Picture rows already blended across, for the sharp scale's two rows,
    // and one picture row widened to the screen's pixels.
    std::vector<uint32_t> across_[2];
    std::vector<uint32_t> widened_;
};

}  // namespace korvane::platform
