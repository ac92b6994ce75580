#pragma once
// The SDL display's surfaces, shared by its own files only: 16-bit 5-6-5
// pixels in plain memory; the primary one is shown through the presenter.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/display.h"

namespace korvane::platform {

struct Surface {
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t pitch = 0;
    std::vector<uint8_t> bytes;
    bool visible = false;                 // the primary surface
    std::unique_ptr<Surface> backBuffer;  // a primary surface's flipping partner

    Surface(uint32_t w, uint32_t h)
        : width(w),
          height(h),
          pitch(static_cast<int32_t>(w * 2)),
          bytes(static_cast<size_t>(w) * h * 2, 0) {}

    uint16_t Get(uint32_t x, uint32_t y) const {
        uint16_t pixel = 0;
        std::memcpy(&pixel, bytes.data() + static_cast<size_t>(y) * pitch + x * 2, 2);
        return pixel;
    }
    void Set(uint32_t x, uint32_t y, uint16_t pixel) {
        std::memcpy(bytes.data() + static_cast<size_t>(y) * pitch + x * 2, &pixel, 2);
    }
};

}  // namespace korvane::platform

namespace korvane::platform::sdl {

// Shows the primary surface's pixels in the window now.
void PresentPrimary(const Surface& primary);

}  // namespace korvane::platform::sdl
