#include "platform/common/picture_scaler.h"

#include <algorithm>
#include <cstring>

#include "platform/pixel_565.h"

namespace korvane::platform {
namespace {

// A 5-6-5 pixel widened to 8 bits a channel, at the screen's channel places.
struct Widener {
    uint32_t redShift;
    uint32_t greenShift;
    uint32_t blueShift;
    uint32_t alpha;
    uint32_t operator()(uint16_t pixel) const {
        const Rgb8 wide = Widen565(pixel);
        return (uint32_t{wide.r} << redShift) | (uint32_t{wide.g} << greenShift) |
               (uint32_t{wide.b} << blueShift) | alpha;
    }
};

// `a` and `b` mixed channel by channel, `weight` 256ths of `b`, rounded; the
// four bytes are worked two at a time in 16-bit lanes, whatever their order.
uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight) {
    constexpr uint32_t kLanes = 0x00FF00FF;
    constexpr uint32_t kHalf = 0x00800080;
    const uint32_t keep = 256 - weight;
    const uint32_t low = (((a & kLanes) * keep + (b & kLanes) * weight + kHalf) >> 8) & kLanes;
    const uint32_t high =
        (((a >> 8) & kLanes) * keep + ((b >> 8) & kLanes) * weight + kHalf) & ~kLanes;
    return low | high;
}

const uint16_t* PictureRow(const uint8_t* pixels, int32_t pitch, int32_t y) {
    return reinterpret_cast<const uint16_t*>(pixels + static_cast<size_t>(y) * pitch);
}

uint32_t* ScreenRow(const ScreenPixels& screen, int32_t y) {
    return reinterpret_cast<uint32_t*>(screen.pixels + static_cast<size_t>(y) * screen.pitch);
}

}  // namespace

std::vector<PictureScaler::Tap> PictureScaler::Taps(int32_t pictureSide, int32_t placedSide,
                                                    int32_t factor) {
    // The screen pixel's centre, found in the picture enlarged `factor` times
    // (`enlarged` pixels long), in 256ths of an enlarged pixel; the pixel
    // reads the two enlarged pixels around that point.
    const int64_t enlarged = static_cast<int64_t>(pictureSide) * factor;
    std::vector<Tap> taps(static_cast<size_t>(placedSide));
    for (int32_t i = 0; i < placedSide; ++i) {
        const int64_t centre = ((2 * static_cast<int64_t>(i) + 1) * enlarged - placedSide) * 256;
        const int64_t at = std::max<int64_t>(0, centre / (2 * static_cast<int64_t>(placedSide)));
        int64_t near = at >> 8;
        int64_t weight = at & 0xFF;
        if (near >= enlarged - 1) {
            near = enlarged - 1;
            weight = 0;
        }
        const auto first = static_cast<int32_t>(near / factor);
        const auto second = static_cast<int32_t>((near + 1) / factor);
        // Both enlarged pixels inside one picture pixel: that pixel alone.
        taps[static_cast<size_t>(i)] = weight == 0 || second == first
                                           ? Tap{first, first, 0}
                                           : Tap{first, second, static_cast<uint32_t>(weight)};
    }
    return taps;
}

void PictureScaler::Prepare(int32_t pictureWidth, int32_t pictureHeight, int32_t screenWidth,
                            int32_t screenHeight) {
    if (pictureWidth == pictureWidth_ && pictureHeight == pictureHeight_ &&
        screenWidth == screenWidth_ && screenHeight == screenHeight_) {
        return;
    }
    pictureWidth_ = pictureWidth;
    pictureHeight_ = pictureHeight;
    screenWidth_ = screenWidth;
    screenHeight_ = screenHeight;
    placement_ = PlacePicture(pictureWidth, pictureHeight, screenWidth, screenHeight);
    columns_.clear();
    rows_.clear();
    if (placement_.width > 0 && placement_.smooth) {
        columns_ = Taps(pictureWidth, placement_.width, placement_.nearestFactor);
        rows_ = Taps(pictureHeight, placement_.height, placement_.nearestFactor);
        for (auto& row : across_) {
            row.assign(static_cast<size_t>(placement_.width), 0);
        }
        widened_.assign(static_cast<size_t>(pictureWidth), 0);
    }
}

PixelBox PictureScaler::Reach(const PixelBox& part) const {
    const PixelBox inside{std::max(part.left, 0), std::max(part.top, 0),
                          std::min(part.right, pictureWidth_),
                          std::min(part.bottom, pictureHeight_)};
    if (inside.Empty() || placement_.width <= 0) {
        return {};
    }
    PixelBox reach;
    if (!placement_.smooth) {
        const int32_t k = placement_.nearestFactor;
        reach = {inside.left * k, inside.top * k, inside.right * k, inside.bottom * k};
    } else {
        // A screen pixel reads `first` and `second` (first <= second <= first
        // + 1), both growing along the side: it depends on [from, to) when
        // second >= from and first < to.
        const auto span = [](const std::vector<Tap>& taps, int32_t from, int32_t to) {
            const auto begin = std::partition_point(
                taps.begin(), taps.end(), [from](const Tap& t) { return t.second < from; });
            const auto end = std::partition_point(begin, taps.end(),
                                                  [to](const Tap& t) { return t.first < to; });
            return std::pair<int32_t, int32_t>{static_cast<int32_t>(begin - taps.begin()),
                                               static_cast<int32_t>(end - taps.begin())};
        };
        const auto [left, right] = span(columns_, inside.left, inside.right);
        const auto [top, bottom] = span(rows_, inside.top, inside.bottom);
        reach = {left, top, right, bottom};
    }
    return {placement_.x + reach.left, placement_.y + reach.top, placement_.x + reach.right,
            placement_.y + reach.bottom};
}

PixelBox PictureScaler::Draw(const uint8_t* pixels, int32_t pitch, const PixelBox& part,
                             const ScreenPixels& screen) {
    const PixelBox reach = Reach(part);
    if (reach.Empty()) {
        return reach;
    }
    if (placement_.smooth) {
        DrawSharp(pixels, pitch, reach, screen);
    } else {
        const PixelBox inside{std::max(part.left, 0), std::max(part.top, 0),
                              std::min(part.right, pictureWidth_),
                              std::min(part.bottom, pictureHeight_)};
        DrawWhole(pixels, pitch, inside, screen);
    }
    return reach;
}

// Each picture row is widened once into the screen and copied down to the
// rows below it.
void PictureScaler::DrawWhole(const uint8_t* pixels, int32_t pitch, const PixelBox& part,
                              const ScreenPixels& screen) const {
    const Widener widen{screen.redShift, screen.greenShift, screen.blueShift, screen.alphaMask};
    const int32_t k = placement_.nearestFactor;
    const auto rowBytes = static_cast<size_t>(part.right - part.left) * k * 4;
    for (int32_t y = part.top; y < part.bottom; ++y) {
        const uint16_t* source = PictureRow(pixels, pitch, y);
        uint32_t* first = ScreenRow(screen, placement_.y + y * k) + placement_.x + part.left * k;
        uint32_t* out = first;
        for (int32_t x = part.left; x < part.right; ++x) {
            const uint32_t shown = widen(source[x]);
            for (int32_t copy = 0; copy < k; ++copy) {
                *out++ = shown;
            }
        }
        for (int32_t copy = 1; copy < k; ++copy) {
            std::memcpy(
                ScreenRow(screen, placement_.y + y * k + copy) + placement_.x + part.left * k,
                first, rowBytes);
        }
    }
}

// Every screen row mixes two picture rows, each first mixed across into a
// row of screen width; consecutive screen rows share picture rows, so each
// picture row is mixed across once or twice.
void PictureScaler::DrawSharp(const uint8_t* pixels, int32_t pitch, const PixelBox& reach,
                              const ScreenPixels& screen) {
    const Widener widen{screen.redShift, screen.greenShift, screen.blueShift, screen.alphaMask};
    const int32_t left = reach.left - placement_.x;
    const int32_t right = reach.right - placement_.x;
    int32_t held[2] = {-1, -1};  // the picture row in each of across_
    const auto across = [&](int32_t y, int32_t keep) -> const uint32_t* {
        for (int slot = 0; slot < 2; ++slot) {
            if (held[slot] == y) {
                return across_[slot].data();
            }
        }
        const int slot = held[0] == keep ? 1 : 0;
        held[slot] = y;
        const uint16_t* source = PictureRow(pixels, pitch, y);
        // The picture pixels these screen columns read, widened once each.
        const int32_t first = columns_[static_cast<size_t>(left)].first;
        const int32_t last = columns_[static_cast<size_t>(right - 1)].second;
        for (int32_t x = first; x <= last; ++x) {
            widened_[static_cast<size_t>(x)] = widen(source[x]);
        }
        uint32_t* out = across_[slot].data();
        for (int32_t x = left; x < right; ++x) {
            const Tap& tap = columns_[static_cast<size_t>(x)];
            const uint32_t a = widened_[static_cast<size_t>(tap.first)];
            out[x] =
                tap.weight == 0 ? a : Mix(a, widened_[static_cast<size_t>(tap.second)], tap.weight);
        }
        return out;
    };
    for (int32_t y = reach.top - placement_.y; y < reach.bottom - placement_.y; ++y) {
        const Tap& tap = rows_[static_cast<size_t>(y)];
        const uint32_t* upper = across(tap.first, tap.second);
        uint32_t* out = ScreenRow(screen, placement_.y + y) + placement_.x;
        if (tap.weight == 0) {
            std::memcpy(out + left, upper + left, static_cast<size_t>(right - left) * 4);
            continue;
        }
        const uint32_t* lower = across(tap.second, tap.first);
        for (int32_t x = left; x < right; ++x) {
            out[x] = Mix(upper[x], lower[x], tap.weight);
        }
    }
}

}  // namespace korvane::platform
