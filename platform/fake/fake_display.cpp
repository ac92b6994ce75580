// The headless display: surfaces in memory with exact 16-bit pixels.
#include "platform/display.h"

#include <bit>
#include <cstring>
#include <map>
#include <string>

#include "platform/fake/fake_display.h"
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"

namespace korvane {
namespace {

constexpr uint32_t kMask565 = 0xF800;
constexpr uint32_t kMask555 = 0x7C00;

struct DisplayState {
    uint32_t redMask = kMask565;  // as the layout set has it, or any mask set
    uint32_t padding = 0;
    uint32_t modeWidth = 640;
    uint32_t modeHeight = 480;
    platform::MemorySurfaces surfaces;
    std::vector<fake::BlitCall> blits;
    int stripCopies = 0;
    int flips = 0;
    int fills = 0;
    uint32_t lastFill = 0;
    // The screen taken away, as Windows takes it: the surfaces are lost, and
    // while `away` nothing can restore them.
    bool lost = false;
    bool away = false;
    uint32_t restores = 0;
    // Every off-screen surface alive, with its pixels as last unlocked (empty
    // before the first unlock), which a restore puts back.
    std::map<platform::Surface*, std::vector<uint8_t>> offscreen;
};
DisplayState display;

// What lost memory holds: nothing the game drew, and easy to see in a picture.
constexpr uint16_t kLostPixel = 0xF81F;

void FillWithLostPixels(platform::Surface* surface) {
    if (surface == nullptr) {
        return;
    }
    for (uint32_t y = 0; y < surface->height; ++y) {
        for (uint32_t x = 0; x < surface->width; ++x) {
            surface->Set(x, y, kLostPixel);
        }
    }
}

void RestoreSurfaces() {
    for (const auto& [surface, kept] : display.offscreen) {
        if (!kept.empty()) {
            surface->bytes = kept;
        }
    }
    display.lost = false;
    ++display.restores;
    fake::Journal("surface.restore");
}

platform::BlitResult AsBlitResult(int code) {
    return code == fake::kSurfaceLost ? platform::BlitResult::SurfaceLost
                                      : platform::BlitResult::Failed;
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

bool DisplayCheckFeatures() {
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
    Surface* primary =
        display.surfaces.CreatePrimary(display.modeWidth, display.modeHeight, display.padding);
    fake::Journal("surface.create primary " + Size(display.modeWidth, display.modeHeight));
    return primary;
}

Surface* DisplayBackBuffer(Surface* primary) {
    if (fake::StepFailure("display.backbuffer") != 0 || !display.surfaces.Known(primary) ||
        !primary->backBuffer) {
        return nullptr;
    }
    fake::Journal("surface.backbuffer");
    return primary->backBuffer.get();
}

BlitResult SurfaceFlip(Surface* primary) {
    if (const int code = fake::StepFailure("display.flip"); code != 0) {
        return AsBlitResult(code);
    }
    if (fake::detail::SurfacesAnswerLost()) {
        return BlitResult::SurfaceLost;
    }
    const BlitResult result = display.surfaces.Flip(primary);
    display.flips += result == BlitResult::Ok ? 1 : 0;
    return result;
}

Surface* SurfaceCreateOffscreen(uint32_t width, uint32_t height, uint32_t /*extraCaps*/) {
    if (fake::StepFailure("display.offscreen") != 0) {
        return nullptr;
    }
    Surface* surface = display.surfaces.CreateOffscreen(width, height, display.padding);
    if (surface != nullptr) {
        display.offscreen[surface];
        fake::Journal("surface.create offscreen " + Size(width, height));
    }
    return surface;
}

void SurfaceRelease(Surface* surface) {
    const std::string what = display.surfaces.Known(surface)
                                 ? std::string(SurfaceKindName(surface->kind)) + " " +
                                       Size(surface->width, surface->height)
                                 : "";
    display.offscreen.erase(surface);
    fake::Journal("surface.release " + (display.surfaces.Release(surface) ? what : "unknown"));
}

bool SurfaceRedMask(Surface* surface, uint32_t* redMask) {
    *redMask = 0;
    if (fake::StepFailure("display.format") != 0 || !display.surfaces.Known(surface)) {
        return false;
    }
    *redMask = display.redMask;
    return true;
}

bool SurfaceLock(Surface* surface, void** pixels, int32_t* pitch) {
    return fake::StepFailure("display.lock") == 0 && !fake::detail::SurfacesAnswerLost() &&
           display.surfaces.Lock(surface, pixels, pitch);
}

bool SurfaceUnlock(Surface* surface) {
    if (fake::StepFailure("display.unlock") != 0 || !display.surfaces.Known(surface)) {
        return false;
    }
    // An off-screen surface keeps its pixels for a restore, as the Windows
    // backend keeps them.
    auto kept = display.offscreen.find(surface);
    if (kept != display.offscreen.end() && !display.lost) {
        kept->second = surface->bytes;
    }
    return true;
}

BlitResult SurfaceFill(Surface* surface, uint32_t color) {
    ++display.fills;
    display.lastFill = color;
    if (const int code = fake::StepFailure("display.fill"); code != 0) {
        return AsBlitResult(code);
    }
    if (fake::detail::SurfacesAnswerLost()) {
        return BlitResult::SurfaceLost;
    }
    return display.surfaces.Fill(surface, color);
}

BlitResult SurfaceBlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                           const Rect& from) {
    fake::BlitCall call{destination, x, y, source, from, BlitResult::Ok, fake::VirtualTimeNs()};
    if (const int code = fake::StepFailure("display.blit"); code != 0) {
        call.result = AsBlitResult(code);
    } else if (fake::detail::SurfacesAnswerLost()) {
        call.result = BlitResult::SurfaceLost;
    } else {
        call.result = display.surfaces.BlitFast(destination, x, y, source, from);
        if (call.result == BlitResult::Ok && destination == display.surfaces.Primary()) {
            ++display.stripCopies;
        }
    }
    fake::detail::AppendRecord(display.blits, call);
    return call.result;
}

uint32_t DisplayRestoreCount() {
    return display.restores;
}

}  // namespace platform

namespace fake {

void SwitchAway() {
    display.lost = true;
    display.away = true;
    platform::Surface* primary = display.surfaces.Primary();
    FillWithLostPixels(primary);
    FillWithLostPixels(primary != nullptr ? primary->backBuffer.get() : nullptr);
    for (const auto& entry : display.offscreen) {
        FillWithLostPixels(entry.first);
    }
    Journal("display.switch away");
}

void SwitchBack() {
    display.away = false;
    Journal("display.switch back");
}

void SetDisplayLayout(Layout layout) {
    display.redMask = layout == Layout::Rgb555 ? kMask555 : kMask565;
}

void SetRedMask(uint32_t mask) {
    display.redMask = mask;
}

void SetPitchPadding(uint32_t bytes) {
    display.padding = bytes & ~1U;
}

platform::Surface* DisplaySurface(Buffer which) {
    platform::Surface* primary = display.surfaces.Primary();
    if (primary == nullptr) {
        return nullptr;
    }
    return which == Buffer::Visible ? primary : primary->backBuffer.get();
}

uint16_t PixelAt(const platform::Surface* surface, int32_t x, int32_t y) {
    if (!display.surfaces.Known(surface) || x < 0 || y < 0 ||
        x >= static_cast<int32_t>(surface->width) || y >= static_cast<int32_t>(surface->height)) {
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
    return display.surfaces.Count();
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

bool SurfacesAnswerLost() {
    if (!display.lost) {
        return false;
    }
    if (!display.away) {
        RestoreSurfaces();
    }
    return true;
}

bool DisplayIs555() {
    return display.redMask == kMask555;
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
