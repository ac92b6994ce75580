#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/common/memory_backend.h"
#include "platform/common/picture_scale.h"
#include "platform/sdl/sdl_shared.h"
#include "platform/window.h"

// Made by the art generator; the build makes it before this file compiles.
#include "korvane_icon.h"

namespace korvane::platform {
namespace sdl {
namespace {

SDL_Window* window = nullptr;
// The class the window manager sees (WM_CLASS on X11): the game's own name
// for its window class, so the desktop can tell its window by it.
std::string windowClass = "KV_Class";
int pictureWidth = 640;
int pictureHeight = 480;
bool managed = true;  // a window manager places the window
bool fullScreen = true;

// The frame the window manager draws around the window, as it last said.
struct Frame {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool operator==(const Frame&) const = default;
};
// The frame the window was last placed for: the manager tells the frame only
// after the window has left the full screen, so it is placed again then.
Frame placedFrame;
int placedDisplay = 0;

// Set by the event filter, which runs on whichever thread SDL sends an event
// from (the sound device's thread among them); acted on by the main thread's
// next pump of the window.
std::atomic<bool> toggleWanted{false};
std::atomic<bool> redrawWanted{false};

int FilterEvents(void* userdata, SDL_Event* event);

void StopSdl() {
    if (window != nullptr) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    SDL_Quit();
}

void SetIcon(SDL_Window* target) {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<unsigned char*>(kKorvaneIconRgba), 32, 32, 32, 32 * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon != nullptr) {
        SDL_SetWindowIcon(target, icon);
        SDL_FreeSurface(icon);
    }
}

SDL_Window* MakeWindow(const char* title, int width, int height, Uint32 extraFlags) {
    if (!StartSubsystems(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) {
        return nullptr;
    }
    pictureWidth = width;
    pictureHeight = height;
    SDL_SetEventFilter(FilterEvents, nullptr);
    // The compositor is asked to stand aside only while the game is on the
    // whole screen (SetFullScreen); SDL would ask it for every window.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    managed = HasWindowManager();
    // Made hidden and, where a window manager places it, already full
    // screen, so that it is first shown on the whole screen with no frame.
    const Uint32 flags =
        SDL_WINDOW_HIDDEN | extraFlags | (managed ? Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP} : 0U);
    SDL_Window* made = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                        width, height, flags);
    if (made == nullptr) {
        return nullptr;
    }
    // The game takes no text. Left on, an input method (IBus or Fcitx in a
    // Japanese, Chinese or Korean mode) takes the letter and arrow keys for
    // itself and they never reach the keyboard's state.
    SDL_StopTextInput();
    SetIcon(made);
    window = made;
    if (managed) {
        MarkFullScreenBeforeShown(made);
    }
    SetFullScreen(true);
    if ((extraFlags & SDL_WINDOW_HIDDEN) == 0) {
        SDL_ShowWindow(made);
    }
    return made;
}

}  // namespace

bool StartSubsystems(uint32_t flags) {
    static bool exitHookSet = false;
    if (SDL_WasInit(flags) == flags) {
        return true;
    }
    if ((flags & SDL_INIT_VIDEO) != 0) {
        setenv("SDL_VIDEO_X11_WMCLASS", windowClass.c_str(), 1);
        SDL_SetHint("SDL_VIDEO_X11_WMCLASS", windowClass.c_str());
    }
    if (SDL_InitSubSystem(flags) != 0) {
        return false;
    }
    // Where no display can be reached SDL falls back to drivers that show
    // nothing; a game nobody can see or send a key to must not run.
    const char* driver = SDL_GetCurrentVideoDriver();
    if ((flags & SDL_INIT_VIDEO) != 0 && driver != nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
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
        MakeWindow("KORVANE", 640, 480, 0);
    }
    return window;
}

namespace {

Frame FrameNow() {
    Frame frame;
    if (SDL_GetWindowBordersSize(window, &frame.top, &frame.left, &frame.bottom, &frame.right) !=
        0) {
        return Frame{};
    }
    return frame;
}

// The largest window the picture's layout allows inside the usable area of
// display `index` (the desktop less its panels), frame included, in the
// middle of that area.
void PlaceInWindow(int index) {
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(index, &usable) != 0 &&
        SDL_GetDisplayBounds(index, &usable) != 0) {
        return;
    }
    const Frame frame = FrameNow();
    const PicturePlacement at =
        PlacePicture(pictureWidth, pictureHeight, usable.w - frame.left - frame.right,
                     usable.h - frame.top - frame.bottom);
    if (at.width <= 0 || at.height <= 0) {
        return;
    }
    SDL_SetWindowSize(window, at.width, at.height);
    // Given as a place on the desktop, not as "centred", which SDL takes to
    // mean centred on the first display.
    SDL_SetWindowPosition(window, usable.x + frame.left + at.x, usable.y + frame.top + at.y);
    placedFrame = frame;
    placedDisplay = index;
}

}  // namespace

bool SetFullScreen(bool whole) {
    if (window == nullptr) {
        return false;
    }
    // The display the window is on now: both ways, the game stays on it.
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
    if (whole && managed) {
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            return false;
        }
    } else if (SDL_SetWindowFullscreen(window, 0) != 0) {
        return false;
    }
    fullScreen = whole;
    if (whole && !managed) {
        SDL_Rect screen{};
        SDL_GetDisplayBounds(display, &screen);
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowSize(window, screen.w, screen.h);
        SDL_SetWindowPosition(window, screen.x, screen.y);
    } else if (!whole) {
        SDL_SetWindowBordered(window, SDL_TRUE);
        PlaceInWindow(display);
    }
    SetCompositorBypass(window, whole);
    return true;
}

namespace {

// Alt+Enter switches between the full screen and a window, at any moment;
// the game never sees it, since it reads only its own keys.
void ToggleFullScreen() {
    if (window == nullptr) {
        return;
    }
    if (SetFullScreen(!fullScreen)) {
        RedrawWindow();
    }
}

bool IsAltEnter(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN && event.key.repeat == 0 &&
           (event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER) &&
           (event.key.keysym.mod & KMOD_ALT) != 0;
}

// The window's pixels were lost or its size changed: it is drawn whole again.
bool NeedsRedraw(const SDL_Event& event) {
    if (event.type != SDL_WINDOWEVENT) {
        return false;
    }
    switch (event.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            return true;
        default:
            return false;
    }
}

// The keyboard is read as a state, which SDL keeps whether or not its events
// are queued, and so is the mouse; queued, the repeats of a held key would
// stand between the game's one-message-a-turn loop and a close request.
bool CarriesNothingForTheGame(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
        case SDL_TEXTEDITING:
        case SDL_TEXTEDITING_EXT:
        case SDL_TEXTINPUT:
        case SDL_KEYMAPCHANGED:
        case SDL_MOUSEMOTION:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            return true;
        default:
            return false;
    }
}

// Runs as SDL sends an event, on the thread that sends it: only notes what is
// to be done, and keeps what carries nothing for the game out of the queue.
int FilterEvents(void* /*userdata*/, SDL_Event* event) {
    if (IsAltEnter(*event)) {
        toggleWanted.store(true);
    }
    if (NeedsRedraw(*event)) {
        redrawWanted.store(true);
    }
    return CarriesNothingForTheGame(*event) ? 0 : 1;
}

void ActOnWatchedEvents() {
    if (toggleWanted.exchange(false)) {
        ToggleFullScreen();
    }
    if (redrawWanted.exchange(false)) {
        RedrawWindow();
    }
    // Leaving the full screen, the window was placed before the window
    // manager said how large its frame is; with the frame known, again.
    if (window != nullptr && !fullScreen && FrameNow() != placedFrame) {
        PlaceInWindow(placedDisplay);
    }
}

}  // namespace

void ServiceWindow() {
    static uint64_t next = 0;
    if (window == nullptr) {
        return;
    }
    const uint64_t now = SDL_GetPerformanceCounter();
    if (now < next) {
        return;
    }
    next = now + SDL_GetPerformanceFrequency() / 50;
    SDL_PumpEvents();
    ActOnWatchedEvents();
}

}  // namespace sdl

void WindowRegisterClass(const char* className, WindowProcedure procedure) {
    SetWindowProcedure(procedure);
    if (className != nullptr && *className != '\0') {
        sdl::windowClass = className;
    }
}

void WindowCreate(const char* /*className*/, const char* title, int width, int height) {
    if (sdl::window == nullptr) {
        sdl::MakeWindow(title, width, height, SDL_WINDOW_HIDDEN);
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
    // The game looks at its queue once a frame: between frames, this is the
    // window's and the sound device's turn (inside a frame's waits, WaitTurn).
    sdl::ServiceWindow();
    sdl::ServiceSound();
    if (TakePostedMessage(message)) {
        return true;
    }
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) {
        return false;
    }
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return false;
    }
    sdl::ActOnWatchedEvents();
    // Closing the window (its close button, Alt+F4) and a quit request of the
    // desktop or a signal all mean the window goes away.
    const bool closing = event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT &&
                                                    event.window.event == SDL_WINDOWEVENT_CLOSE);
    *message = WindowMessage{closing ? MessageKind::Destroy : MessageKind::Other, 0};
    return true;
}

void ShowMessageBox(const char* text) {
    // The game gives the box no caption of its own; "Error" is what the
    // desktop shows for such a box.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "Error", text, sdl::window) != 0) {
        // No box can be shown (no display): the message goes where it can be read.
        std::fprintf(stderr, "korvane: %s\n", text);
    }
}

}  // namespace korvane::platform
