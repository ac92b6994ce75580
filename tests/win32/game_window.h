#pragma once
// The one window of the test program, made through the seam as the game
// makes its own, with a procedure that notes what reaches it.
#include <vector>

#include "platform/win32/win32_shared.h"
#include "platform/window.h"

namespace korvane::platform::testing {

// What reached the game's procedure, in order.
inline std::vector<MessageKind>& Heard() {
    static std::vector<MessageKind> heard;
    return heard;
}

// As the game's own: a window going away is taken as the end, everything
// else goes to the host's default handling.
inline intptr_t Listen(const WindowMessage& message) {
    Heard().push_back(message.kind);
    if (message.kind == MessageKind::Destroy) {
        return 0;
    }
    return WindowDefaultProcedure(message);
}

inline HWND GameWindow() {
    static const bool made = [] {
        WindowRegisterClass("KV_Class", Listen);
        WindowCreate("KV_Class", "KORVANE", 640, 480);
        WindowShow();
        return true;
    }();
    static_cast<void>(made);
    return win32::GameWindow();
}

}  // namespace korvane::platform::testing
