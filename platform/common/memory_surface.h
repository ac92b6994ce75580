#pragma once
// Surfaces in plain memory, for the backends that draw in memory and show the
// result themselves: the surface record, the registry of those alive, and
// fill, fast blit, lock and flip on them. The seam's SurfaceSize is here.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/display.h"

namespace korvane::platform {

// Rows of 16-bit pixels, `pitch` bytes apart.
struct Surface {
    enum class Kind : uint8_t { Primary, BackBuffer, Offscreen };

    uint32_t width = 0;
    uint32_t height = 0;
    int32_t pitch = 0;
    std::vector<uint8_t> bytes;
    Kind kind = Kind::Offscreen;
    std::unique_ptr<Surface> backBuffer;  // a primary surface's flipping partner

    // `padding` extra bytes end every row (even), so the pitch may be wider
    // than the row.
    Surface(uint32_t w, uint32_t h, uint32_t padding, Kind what)
        : width(w),
          height(h),
          pitch(static_cast<int32_t>(w * 2 + padding)),
          bytes(static_cast<size_t>(pitch) * h, 0),
          kind(what) {}

    uint16_t Get(uint32_t x, uint32_t y) const {
        uint16_t pixel = 0;
        std::memcpy(&pixel, bytes.data() + static_cast<size_t>(y) * pitch + x * 2, 2);
        return pixel;
    }
    void Set(uint32_t x, uint32_t y, uint16_t pixel) {
        std::memcpy(bytes.data() + static_cast<size_t>(y) * pitch + x * 2, &pixel, 2);
    }
};

inline const char* SurfaceKindName(Surface::Kind kind) {
    constexpr const char* kNames[] = {"primary", "backbuffer", "offscreen"};
    return kNames[static_cast<int>(kind)];
}

// The surfaces a backend has handed out. Every operation checks that the
// surface it is given is one of these (a back buffer counts through its
// primary), so a stale or foreign pointer is refused, never followed.
class MemorySurfaces {
  public:
    // A primary surface with its back buffer, both `width` x `height`.
    Surface* CreatePrimary(uint32_t width, uint32_t height, uint32_t padding);
    // Null for an empty size.
    Surface* CreateOffscreen(uint32_t width, uint32_t height, uint32_t padding);
    // False when `surface` was not made here (a back buffer goes with its primary).
    bool Release(Surface* surface);

    bool Known(const Surface* surface) const;
    // The primary surface; null when there is none.
    Surface* Primary() const;
    int Count() const { return static_cast<int>(surfaces_.size()); }

    bool Lock(Surface* surface, void** pixels, int32_t* pitch) const;
    BlitResult Fill(Surface* surface, uint32_t color) const;
    // Refuses a rectangle that is empty or reaches outside either surface;
    // nothing is clipped, as a fast blit is not.
    BlitResult BlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                        const Rect& from) const;
    // Exchanges the primary surface's pixels with its back buffer's.
    BlitResult Flip(Surface* primary) const;

  private:
    std::vector<std::unique_ptr<Surface>> surfaces_;
};

}  // namespace korvane::platform
