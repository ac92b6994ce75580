#include <cstdlib>
#include <deque>

#include "platform/sdl/sdl_shared.h"
#include "platform/window.h"

#if __has_include("korvane_icon.h")
#include "korvane_icon.h"
#define KORVANE_HAS_ICON 1
#endif

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

void SetIcon(SDL_Window* target) {
#ifdef KORVANE_HAS_ICON
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<unsigned char*>(kKorvaneIconRgba), 32, 32, 32, 32 * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon != nullptr) {
        SDL_SetWindowIcon(target, icon);
        SDL_FreeSurface(icon);
    }
#else
    (void)target;
#endif
}

SDL_Window* MakeWindow(const char* title, int width, int height, Uint32 extraFlags) {
    if (!StartSubsystems(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) {
        return nullptr;
    }
    // Pointer motion would only fill the queue: the game never reads it.
    SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    SDL_Window* made = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        width, height, SDL_WINDOW_FULLSCREEN_DESKTOP | extraFlags);
    if (made != nullptr) {
        SetIcon(made);
    }
    return made;
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
    if (window == nullptr) {
        window = MakeWindow("KORVANE", 640, 480, 0);
    }
    return window;
}

}  // namespace sdl

namespace {

WindowProcedure windowProcedure = nullptr;
std::deque<WindowMessage> postedMessages;

}  // namespace

void WindowRegisterClass(const char* /*className*/, WindowProcedure procedure) {
    windowProcedure = procedure;
}

void WindowCreate(const char* /*className*/, const char* title, int width, int height) {
    if (sdl::window == nullptr) {
        sdl::window = sdl::MakeWindow(title, width, height, SDL_WINDOW_HIDDEN);
    }
}

void WindowShow() {
    if (sdl::window != nullptr) {
        SDL_ShowWindow(sdl::window);
        SDL_RaiseWindow(sdl::window);
    }
}

void CursorShow(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool WindowPeekMessage(WindowMessage* message) {
    if (!postedMessages.empty()) {
        *message = postedMessages.front();
        postedMessages.pop_front();
        return true;
    }
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        return false;
    }
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return false;
    }
    // Closing the window (its close button, Alt+F4) and a quit request of the
    // desktop or a signal all mean the window goes away.
    const bool closing = event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT &&
                                                    event.window.event == SDL_WINDOWEVENT_CLOSE);
    *message = WindowMessage{closing ? MessageKind::Destroy : MessageKind::Other, 0};
    return true;
}

intptr_t WindowDispatch(const WindowMessage& message) {
    return windowProcedure != nullptr ? windowProcedure(message) : 0;
}

intptr_t WindowDefaultProcedure(const WindowMessage& /*message*/) {
    return 0;
}

void PostQuitMessage(int exitCode) {
    postedMessages.push_back({MessageKind::Quit, static_cast<uintptr_t>(exitCode)});
}

void ShowMessageBox(const char* text) {
    // The game gives the box no caption of its own; "Error" is what the
    // desktop shows for such a box.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "Error", text, sdl::window);
}

}  // namespace korvane::platform
