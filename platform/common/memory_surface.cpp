#include "platform/common/memory_surface.h"

#include <algorithm>

namespace korvane::platform {

void SurfaceSize(const Surface* surface, uint32_t* width, uint32_t* height) {
    *width = surface != nullptr ? surface->width : 0;
    *height = surface != nullptr ? surface->height : 0;
}

Surface* MemorySurfaces::CreatePrimary(uint32_t width, uint32_t height, uint32_t padding) {
    auto primary = std::make_unique<Surface>(width, height, padding, Surface::Kind::Primary);
    primary->backBuffer =
        std::make_unique<Surface>(width, height, padding, Surface::Kind::BackBuffer);
    surfaces_.push_back(std::move(primary));
    return surfaces_.back().get();
}

Surface* MemorySurfaces::CreateOffscreen(uint32_t width, uint32_t height, uint32_t padding) {
    if (width == 0 || height == 0) {
        return nullptr;
    }
    surfaces_.push_back(
        std::make_unique<Surface>(width, height, padding, Surface::Kind::Offscreen));
    return surfaces_.back().get();
}

bool MemorySurfaces::Release(Surface* surface) {
    auto held = std::find_if(surfaces_.begin(), surfaces_.end(),
                             [surface](const auto& s) { return s.get() == surface; });
    if (held == surfaces_.end()) {
        return false;
    }
    surfaces_.erase(held);
    return true;
}

bool MemorySurfaces::Known(const Surface* surface) const {
    return surface != nullptr &&
           std::any_of(surfaces_.begin(), surfaces_.end(), [surface](const auto& s) {
               return s.get() == surface || s->backBuffer.get() == surface;
           });
}

Surface* MemorySurfaces::Primary() const {
    for (const auto& s : surfaces_) {
        if (s->kind == Surface::Kind::Primary) {
            return s.get();
        }
    }
    return nullptr;
}

bool MemorySurfaces::Lock(Surface* surface, void** pixels, int32_t* pitch) const {
    if (Known(surface)) {
        *pixels = surface->bytes.data();
        *pitch = surface->pitch;
    }
    return Known(surface);
}

BlitResult MemorySurfaces::Fill(Surface* surface, uint32_t color) const {
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

BlitResult MemorySurfaces::BlitFast(Surface* destination, int32_t x, int32_t y, Surface* source,
                                    const Rect& from) const {
    if (!Known(destination) || !Known(source)) {
        return BlitResult::Failed;
    }
    const int32_t w = from.right - from.left;
    const int32_t h = from.bottom - from.top;
    const bool inside = from.left >= 0 && from.top >= 0 && w > 0 && h > 0 &&
                        from.right <= static_cast<int32_t>(source->width) &&
                        from.bottom <= static_cast<int32_t>(source->height) && x >= 0 && y >= 0 &&
                        x + w <= static_cast<int32_t>(destination->width) &&
                        y + h <= static_cast<int32_t>(destination->height);
    if (!inside) {
        return BlitResult::Failed;
    }
    // memmove: a surface may be copied onto itself, rectangles overlapping.
    for (int32_t row = 0; row < h; ++row) {
        std::memmove(
            destination->bytes.data() + static_cast<size_t>(y + row) * destination->pitch + x * 2,
            source->bytes.data() + static_cast<size_t>(from.top + row) * source->pitch +
                from.left * 2,
            static_cast<size_t>(w) * 2);
    }
    return BlitResult::Ok;
}

BlitResult MemorySurfaces::Flip(Surface* primary) const {
    if (!Known(primary) || !primary->backBuffer) {
        return BlitResult::Failed;
    }
    primary->bytes.swap(primary->backBuffer->bytes);
    return BlitResult::Ok;
}

}  // namespace korvane::platform
