#include "app/win_main.h"

#include <cstdio>

#include "app/frame.h"
#include "app/screen_state.h"
#include "app/startup.h"

namespace korvane {

intptr_t WindowProc(const platform::WindowMessage& message) {
    if (message.kind == platform::MessageKind::Destroy) {
        platform::PostQuitMessage(0);
        return 0;
    }
    return platform::WindowDefaultProcedure(message);
}

int WinMain() {
    platform::WindowRegisterClass("KV_Class", WindowProc);
    platform::WindowCreate("KV_Class", "KORVANE", 640, 480);
    platform::CursorShow(false);
    platform::WindowShow();

    platform::WindowMessage message;
    const bool started = StartUp() == 1;
    if (started) {
        for (;;) {
            // At most one message a turn, without waiting: the frames set the pace.
            if (platform::WindowPeekMessage(&message)) {
                if (message.kind == platform::MessageKind::Quit) {
                    break;
                }
                platform::WindowDispatch(message);
            }
            RunFrame();
            if (screenState == ScreenState::Quit) {
                break;
            }
        }
    }
    ShutDown();
    platform::CursorShow(true);
    if (!started) {
        std::fprintf(stderr, "korvane: start-up failed: %s\n", StartUpFailure().c_str());
        return kStartUpFailedExitCode;
    }
    return static_cast<int>(message.parameter);
}

}  // namespace korvane
