#pragma once
// The Windows backend's surfaces, shared by its display, window and text files.
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
    // An off-screen surface's pixels as last unlocked, rows of width * 2
    // bytes, copied back when a lost surface is restored or remade; empty for
    // the flipping chain, which every frame draws whole.
    std::vector<uint8_t> kept;
    // Between Lock and Unlock: where the pixels are.
    uint8_t* locked = nullptr;
    int32_t lockedPitch = 0;
};

namespace win32 {

// Every answer of a drawing call on a surface (lock, fill, blit, flip, text
// context) goes through here: one that says the surfaces are lost restores
// them all, once, and is handed back as it was; nothing is asked again.
HRESULT AfterDrawingCall(HRESULT result);
// Asked before each of those calls: Wine lets a fill, a fast blit or a text
// context through on a lost surface where Windows refuses it, so the backend
// looks first and the game meets Windows' answer wherever it runs. True, after
// the same restore, when either surface is lost.
bool FoundLost(Surface* surface, Surface* other = nullptr);

}  // namespace win32
}  // namespace korvane::platform
