#include "app/win_main.h"

#include <string>

#include "app/frame.h"
#include "app/screen_keys.h"
#include "app/screen_state.h"
#include "app/startup.h"
#include "gfx/video.h"

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
    platform::WindowCreate("KV_Class", "KORVANE", kScreenWidth, kScreenHeight);
    platform::CursorShow(false);
    platform::WindowShow();

    // The exit code is what a quit message carried, and 0 when the game
    // itself chose to leave; any other message's parameter means nothing.
    int exitCode = 0;
    const bool started = StartUp() == 1;
    if (started) {
        // No screen's keys are told before the first (Starting has none).
        ScreenState keysTold = ScreenState::Starting;
        for (;;) {
            if (screenState != keysTold) {
                TellKeysInUse(screenState);
                keysTold = screenState;
            }
            // At most one message a turn, without waiting: the frames set the pace.
            platform::WindowMessage message;
            if (platform::WindowPeekMessage(&message)) {
                if (message.kind == platform::MessageKind::Quit) {
                    exitCode = static_cast<int>(message.parameter);
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
        const std::string line = "korvane: start-up failed: " + StartUpFailure();
        platform::WriteErrorLine(line.c_str());
        return kStartUpFailedExitCode;
    }
    return exitCode;
}

}  // namespace korvane
