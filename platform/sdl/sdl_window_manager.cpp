// What the game asks of the X window manager beyond what SDL does: whether
// one runs at all, a window shown on the whole screen from the first, and
// telling a compositor to stand aside for the game.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>
#include <memory>

#include "platform/sdl/sdl_shared.h"

namespace korvane::platform::sdl {
namespace {

bool OnX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

}  // namespace

bool HasWindowManager() {
    if (!OnX11()) {
        return true;  // every other desktop manages its windows itself
    }
    // A connection of its own: the question is asked before SDL's window
    // exists, so that the window can be made the right way from the start.
    const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display) {
        return true;
    }
    const Atom check = XInternAtom(display.get(), "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) {
        return false;
    }
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* value = nullptr;
    const int status =
        XGetWindowProperty(display.get(), DefaultRootWindow(display.get()), check, 0, 1, False,
                           XA_WINDOW, &type, &format, &items, &after, &value);
    const bool found = status == Success && items == 1 && value != nullptr;
    if (value != nullptr) {
        XFree(value);
    }
    return found;
}

void MarkFullScreenBeforeShown(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) == SDL_FALSE ||
        info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    Display* display = info.info.x11.display;
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, info.info.x11.window, state, XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<const unsigned char*>(&fullScreen), 1);
    XFlush(display);
}

void SetCompositorBypass(SDL_Window* window, bool bypass) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) == SDL_FALSE ||
        info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    Display* display = info.info.x11.display;
    const Atom bypassAtom = XInternAtom(display, "_NET_WM_BYPASS_COMPOSITOR", False);
    if (bypass) {
        const long value = 1;  // the window asks the compositor to stand aside
        XChangeProperty(display, info.info.x11.window, bypassAtom, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&value), 1);
    } else {
        XDeleteProperty(display, info.info.x11.window, bypassAtom);
    }
    XFlush(display);
}

}  // namespace korvane::platform::sdl
