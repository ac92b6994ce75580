#pragma once
// The Windows backend's surfaces, shared by its display and text files.
#include <windows.h>

// ddraw.h needs the types windows.h defines.
#include <ddraw.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display.h"

namespace korvane::platform {

struct Surface {
    IDirectDrawSurface4* surface = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    // The primary surface's back buffer, which belongs to it.
    std::unique_ptr<Surface> backBuffer;
    // An off-screen surface's pixels as last unlocked, copied back when a
    // lost surface is restored; empty for the flipping chain, which every
    // frame draws whole.
    std::vector<uint8_t> kept;
    int32_t keptPitch = 0;
    // Between Lock and Unlock: where the pixels are.
    uint8_t* locked = nullptr;
    int32_t lockedPitch = 0;
};

}  // namespace korvane::platform
