// The desktop's screen: the game window, which the presenter (sdl_present.h)
// shows the shared memory surfaces in (platform/common/memory_display.cpp).
#include "platform/common/memory_backend.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_shared.h"

namespace korvane::platform {

namespace sdl {

void RedrawWindow() {
    PresenterInvalidate();
    if (const Surface* primary = ShownPrimary()) {
        PresenterShow(primary->bytes.data(), primary->pitch, nullptr, nullptr);
    }
}

}  // namespace sdl

namespace backend {

bool OpenScreen() {
    return sdl::StartSubsystems(SDL_INIT_VIDEO) && sdl::GameWindow() != nullptr;
}

bool ScreenFits() {
    // The presenter converts the game's pixels into the window's own: what
    // the device must offer is a window of a known format.
    SDL_Window* window = sdl::GameWindow();
    return window != nullptr && SDL_GetWindowPixelFormat(window) != SDL_PIXELFORMAT_UNKNOWN;
}

bool TakeScreen() {
    SDL_Window* window = sdl::GameWindow();
    if (window == nullptr || !sdl::SetFullScreen(true)) {
        return false;
    }
    SDL_ShowCursor(SDL_DISABLE);
    SDL_RaiseWindow(window);
    return true;
}

bool SizeScreen(uint32_t width, uint32_t height) {
    return sdl::PresenterOpen(sdl::GameWindow(), width, height);
}

void CloseScreen() {
    sdl::PresenterClose();
}

void ShowArea(const Surface& primary, const Rect& area) {
    const bool whole = area.left == 0 && area.top == 0 &&
                       area.right == static_cast<int32_t>(primary.width) &&
                       area.bottom == static_cast<int32_t>(primary.height);
    const SDL_Rect band{area.left, area.top, area.right - area.left, area.bottom - area.top};
    sdl::PresenterShow(primary.bytes.data(), primary.pitch, nullptr, whole ? nullptr : &band);
}

void ShowFlip(const Surface& primary) {
    sdl::PresenterShow(primary.bytes.data(), primary.pitch, primary.backBuffer->bytes.data(),
                       nullptr);
}

}  // namespace backend
}  // namespace korvane::platform
