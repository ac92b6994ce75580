#include <SDL.h>

#include "platform/window.h"

namespace korvane::platform {

void ShowMessageBox(const char* text) {
    // No caption of the game's own: the box carries the program's name only.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "KORVANE", text, nullptr);
}

}  // namespace korvane::platform
