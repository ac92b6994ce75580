// Surfaces lost to another program (Alt+Tab, another full-screen program)
// come back at the first drawing call that finds them lost. Their memory
// comes back empty: each off-screen surface keeps a copy of its pixels as
// last unlocked, written back after the restore; the flipping chain is drawn
// whole by the next frame.
#include <cstring>

#include "platform/win32/win32_display_state.h"

namespace korvane::platform::win32 {
namespace {

// Brings back the memory of every surface once the screen is the game's
// again, and the off-screen pictures into it; the flipping chain is drawn
// whole by the next frame. While another program has the screen the restore
// is refused and the surfaces stay lost.
void RestoreSurfaces() {
    if (display.directDraw == nullptr || FAILED(display.directDraw->RestoreAllSurfaces())) {
        return;
    }
    for (Surface* surface : display.offscreen) {
        if (!surface->kept.empty()) {
            WriteRows(surface->surface, surface->width, surface->height, surface->kept);
        }
    }
    ++display.restores;
}

}  // namespace

std::vector<uint8_t> ReadRows(IDirectDrawSurface4* surface, uint32_t width, uint32_t height) {
    DDSURFACEDESC2 description = EmptyDescription();
    std::vector<uint8_t> rows;
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) {
        return rows;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 2;
    rows.resize(rowBytes * height);
    const auto* from = static_cast<const uint8_t*>(description.lpSurface);
    for (uint32_t y = 0; y < height; ++y) {
        std::memcpy(rows.data() + y * rowBytes,
                    from + static_cast<ptrdiff_t>(y) * description.lPitch, rowBytes);
    }
    surface->Unlock(nullptr);
    return rows;
}

void WriteRows(IDirectDrawSurface4* surface, uint32_t width, uint32_t height,
               const std::vector<uint8_t>& rows) {
    DDSURFACEDESC2 description = EmptyDescription();
    if (surface == nullptr || FAILED(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr))) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 2;
    auto* to = static_cast<uint8_t*>(description.lpSurface);
    const uint32_t given = rowBytes == 0 ? 0 : static_cast<uint32_t>(rows.size() / rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = to + static_cast<ptrdiff_t>(y) * description.lPitch;
        std::memset(row, 0, rowBytes);
        if (y < given) {
            std::memcpy(row, rows.data() + y * rowBytes, rowBytes);
        }
    }
    surface->Unlock(nullptr);
}

HRESULT AfterDrawingCall(HRESULT result) {
    if (result == DDERR_SURFACELOST) {
        RestoreSurfaces();
    }
    return result;
}

bool FoundLost(Surface* surface, Surface* other) {
    const auto lost = [](Surface* s) {
        return s != nullptr && s->surface != nullptr && s->surface->IsLost() == DDERR_SURFACELOST;
    };
    if (!lost(surface) && !lost(other)) {
        return false;
    }
    RestoreSurfaces();
    return true;
}

}  // namespace korvane::platform::win32
