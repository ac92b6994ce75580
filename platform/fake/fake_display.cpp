// The headless display: surfaces in memory with exact 16-bit pixels.
#include "platform/display.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "platform/fake/fake_display.h"
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_surface.h"

namespace korvane {
namespace {

constexpr uint32_t kMask565 = 0xF800;
constexpr uint32_t kMask555 = 0x7C00;

struct DisplayState {
    fake::Layout layout = fake::Layout::Rgb565;
    bool redMaskSet = false;
    uint32_t redMask = 0;
    uint32_t padding = 0;
    uint32_t modeWidth = 640;
    uint32_t modeHeight = 480;
    std::vector<std::unique_ptr<platform::Surface>> surfaces;
    platform::Surface* primary = nullptr;
    std::vector<fake::BlitCall> blits;
    int stripCopies = 0;
    int flips = 0;
    int fills = 0;
    uint32_t lastFill = 0;
};
DisplayState display;

platform::BlitResult AsBlitResult(int code) {
    return code == fake::kSurfaceLost ? platform::BlitResult::SurfaceLost
                                      : platform::BlitResult::Failed;
}

bool Known(const platform::Surface* surface) {
    if (surface == nullptr) {
        return false;
    }
    for (const auto& held : display.surfaces) {
        if (held.get() == surface || held->backBuffer.get() == surface) {
            return true;
        }
    }
    return false;
}

std::string Size(uint32_t width, uint32_t height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

namespace platform {

bool DisplayOpen() {
    if (fake::StepFailure("display.open") != 0) {
        return false;
    }
    fake::Journal("display.open");
    return true;
}

bool DisplayCheckVersion() {
    return fake::StepFailure("display.version") == 0;
}

bool DisplayTakeScreen() {
    if (fake::StepFailure("display.exclusive") != 0) {
        return false;
    }
    fake::Journal("display.exclusive");
    return true;
}

bool DisplaySetMode(uint32_t width, uint32_t height, uint32_t depth) {
    if (fake::StepFailure("display.mode") != 0) {
        return false;
    }
    display.modeWidth = width;
    display.modeHeight = height;
    fake::Journal("display.mode " + Size(width, height) + "x" + std::to_string(depth));
    return true;
}

void DisplayRestoreMode() {
    fake::Journal("display.restore");
}

void DisplayClose() {
    fake::Journal("display.close");
}

Surface* DisplayCreatePrimary() {
    if (fake::StepFailure("display.primary") != 0) {
        return nullptr;
    }
    auto primary = std::make_unique<Surface>(display.modeWidth, display.modeHeight, display.padding,
                                             "primary");
    primary->backBuffer = std::make_unique<Surface>(display.modeWidth, display.modeHeight,
                                                    display.padding, "backbuffer");
    display.primary = primary.get();
    display.surfaces.push_back(std::move(primary));
    fake::Journal("surface.create primary " + Size(display.modeWidth, display.modeHeight));
    return display.primary;
}

Surface* DisplayBackBuffer(Surface* primary) {
    if (fake::StepFailure("display.backbuffer") != 0 || !Known(primary) || !primary->backBuffer) {
        return nullptr;
    }
    fake::Journal("surface.backbuffer");
    return primary->backBuffer.get();
}

BlitResult SurfaceFlip(Surface* primary) {
    if (const int code = fake::StepFailure("display.flip"); code != 0) {
        return AsBlitResult(code);
    }
    if (!Known(primary) || !primary->backBuffer) {
        return BlitResult::Failed;
    }
    primary->bytes.swap(primary->backBuffer->bytes);
    ++display.flips;
    return BlitResult::Ok;
}

Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t /*extraCaps*/) {
    if (fake::StepFailure("display.offscreen") != 0) {
        return nullptr;
    }
    display.surfaces.push_back(
        std::make_unique<Surface>(width, height, display.padding, "offscreen"));
    fake::Journal("surface.create offscreen " + Size(width, height));
    return display.surfaces.back().get();
}

void SurfaceRelease(Surface* surface) {
    auto held = std::find_if(display.surfaces.begin(), display.surfaces.end(),
                             [surface](const auto& s) { return s.get() == surface; });
    if (held == display.surfaces.end()) {
        fake::Journal("surface.release unknown");
        return;
    }
    fake::Journal(std::string("surface.release ") + surface->kind + " " +
                  Size(surface->width, surface->height));
    if (display.primary == surface) {
        display.primary = nullptr;
    }
    display.surfaces.erase(held);
}

void SurfaceSize(const Surface* surface, uint32_t* width, uint32_t* height) {
    *width = surface != nullptr ? surface->width : 0;
    *height = surface != nullptr ? surface->height : 0;
}

bool SurfaceRedMask(Surface* surface, uint32_t* redMask) {
    *redMask = 0;
    if (fake::StepFailure("display.format") != 0 || !Known(surface)) {
        return false;
    }
    if (display.redMaskSet) {
        *redMask = display.redMask;
    } else {
        *redMask = display.layout == fake::Layout::Rgb555 ? kMask555 : kMask565;
    }
    return true;
}

bool SurfaceLock(Surface* surface, void** pixels, int32_t* pitch) {
    if (fake::StepFailure("display.lock") != 0 || !Known(surface)) {
        return false;
    }
    *pixels = surface->bytes.data();
    *pitch = surface->pitch;
    return true;
}

bool SurfaceUnlock(Surface* surface) {
    return fake::StepFailure("display.unlock") == 0 && Known(surface);
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    ++display.fills;
    display.lastFill = color;
    if (const int code = fake::StepFailure("display.fill"); code != 0) {
        return AsBlitResult(code);
    }
    if (!Known(surface)) {
        return BlitResult::Failed;
    }
    for (uint32_t y = 0; y < surface->height; ++y) {
        for (uint32_t x = 0; x < surface->width; ++x) {
            surface->Set(x, y, static_cast<uint16_t>(color));
        }
    }
    return BlitResult::Ok;
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    fake::BlitCall call{destination, x, y, source, from, BlitResult::Ok, fake::VirtualTimeNs()};
    if (const int code = fake::StepFailure("display.blit"); code != 0) {
        call.result = AsBlitResult(code);
    } else if (!Known(destination) || !Known(source)) {
        call.result = BlitResult::Failed;
    } else {
        const int32_t w = from.right - from.left;
        const int32_t h = from.bottom - from.top;
        const bool inside = from.left >= 0 && from.top >= 0 && w > 0 && h > 0 &&
                            from.right <= static_cast<int32_t>(source->width) &&
                            from.bottom <= static_cast<int32_t>(source->height) && x >= 0 &&
                            y >= 0 && x + w <= static_cast<int32_t>(destination->width) &&
                            y + h <= static_cast<int32_t>(destination->height);
        if (!inside) {
            call.result = BlitResult::Failed;
        } else {
            for (int32_t row = 0; row < h; ++row) {
                std::memmove(destination->bytes.data() +
                                 static_cast<size_t>(y + row) * destination->pitch + x * 2,
                             source->bytes.data() +
                                 static_cast<size_t>(from.top + row) * source->pitch +
                                 from.left * 2,
                             static_cast<size_t>(w) * 2);
            }
            if (destination == display.primary) {
                ++display.stripCopies;
            }
        }
    }
    fake::detail::AppendRecord(display.blits, call);
    return call.result;
}

}  // namespace platform

namespace fake {

void SetDisplayLayout(Layout layout) {
    display.layout = layout;
    display.redMaskSet = false;
}

void SetRedMask(uint32_t mask) {
    display.redMaskSet = true;
    display.redMask = mask;
}

void SetPitchPadding(uint32_t bytes) {
    display.padding = bytes & ~1U;
}

platform::Surface* DisplaySurface(Buffer which) {
    if (display.primary == nullptr) {
        return nullptr;
    }
    return which == Buffer::Visible ? display.primary : display.primary->backBuffer.get();
}

uint16_t PixelAt(const platform::Surface* surface, int32_t x, int32_t y) {
    if (!Known(surface) || x < 0 || y < 0 || x >= static_cast<int32_t>(surface->width) ||
        y >= static_cast<int32_t>(surface->height)) {
        return 0;
    }
    return surface->Get(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

uint16_t PixelAt(Buffer which, int32_t x, int32_t y) {
    return PixelAt(DisplaySurface(which), x, y);
}

uint32_t PictureHash(Buffer which) {
    const platform::Surface* surface = DisplaySurface(which);
    if (surface == nullptr) {
        return 0;
    }
    uint64_t hash = 0xCBF29CE484222325ULL;
    // Four pixels in memory are the word itself on a little-endian host.
    const bool wholeWords = std::endian::native == std::endian::little && surface->width % 4 == 0;
    for (uint32_t y = 0; y < surface->height; ++y) {
        const uint8_t* row = surface->bytes.data() + static_cast<size_t>(y) * surface->pitch;
        for (uint32_t x = 0; x < surface->width; x += 4) {
            uint64_t word = 0;
            if (wholeWords) {
                std::memcpy(&word, row + static_cast<size_t>(x) * 2, sizeof word);
            } else {
                for (uint32_t i = 0; i < 4 && x + i < surface->width; ++i) {
                    word |= static_cast<uint64_t>(surface->Get(x + i, y)) << (16 * i);
                }
            }
            hash = (hash ^ word) * 0x100000001B3ULL;
        }
    }
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

const std::vector<BlitCall>& Blits() {
    return display.blits;
}
int StripCopies() {
    return display.stripCopies;
}
int Flips() {
    return display.flips;
}
uint32_t LastFillColor() {
    return display.lastFill;
}
int Fills() {
    return display.fills;
}
int SurfacesAlive() {
    return static_cast<int>(display.surfaces.size());
}

void ClearDisplayRecords() {
    display.blits.clear();
    display.stripCopies = 0;
    display.flips = 0;
    display.fills = 0;
    display.lastFill = 0;
    detail::ClearTextDraws();
}

namespace detail {

bool DisplayIs555() {
    const uint32_t mask = display.redMaskSet
                              ? display.redMask
                              : (display.layout == Layout::Rgb555 ? kMask555 : kMask565);
    return mask == kMask555;
}

uint16_t PackColorRef(uint32_t color) {
    const uint32_t red = color & 0xFF;
    const uint32_t green = (color >> 8) & 0xFF;
    const uint32_t blue = (color >> 16) & 0xFF;
    // Text is drawn as the display itself packs colours: a true 5-6-5 green.
    return DisplayIs555()
               ? static_cast<uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3))
               : static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3));
}

void ResetDisplay() {
    display = DisplayState{};
    ResetText();
}

}  // namespace detail
}  // namespace fake
}  // namespace korvane
