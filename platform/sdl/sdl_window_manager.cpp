// Whether a window manager runs on the game's X display. Asking a desktop
// with none for the full screen only makes SDL wait for an answer that never
// comes (a tenth of a second at start-up); there the game's window is simply
// made as large as the screen, which looks the same.
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/sdl/sdl_shared.h"

namespace korvane::platform::sdl {

bool HasWindowManager(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) == SDL_FALSE ||
        info.subsystem != SDL_SYSWM_X11) {
        return true;  // every other desktop manages its windows itself
    }
    Display* display = info.info.x11.display;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) {
        return false;
    }
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* value = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &items, &after, &value);
    const bool found = status == Success && items == 1 && value != nullptr;
    if (value != nullptr) {
        XFree(value);
    }
    return found;
}

}  // namespace korvane::platform::sdl
