#include <cstdlib>

#include "platform/sdl/sdl_shared.h"
#include "platform/window.h"

namespace korvane::platform {
namespace sdl {
namespace {

SDL_Window* window = nullptr;

void StopSdl() {
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    SDL_Quit();
}

}  // namespace

bool StartSubsystems(uint32_t flags) {
    static bool exitHookSet = false;
    if (SDL_WasInit(flags) == flags) {
        return true;
    }
    if (SDL_InitSubSystem(flags) != 0) {
        return false;
    }
    if (!exitHookSet) {
        exitHookSet = true;
        std::atexit(StopSdl);
    }
    return true;
}

SDL_Window* GameWindow() {
    if (window == nullptr && StartSubsystems(SDL_INIT_VIDEO)) {
        window = SDL_CreateWindow("KORVANE", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640,
                                  480, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    return window;
}

}  // namespace sdl

void ShowMessageBox(const char* text) {
    // No caption of the game's own: the box carries the program's name only.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "KORVANE", text, sdl::GameWindow());
}

}  // namespace korvane::platform
