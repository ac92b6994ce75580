// What the game's window answers itself: a close leaves it standing until the
// game has shut down, and the screen saver, display sleep and the window menu
// never get hold of a running game.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/win32/game_window.h"

namespace korvane::platform::testing {
namespace {

TEST(WindowTest, ClosingIsTheGamesToAnswerAndTheWindowStays) {
    HWND window = GameWindow();
    ASSERT_NE(window, nullptr);
    for (const auto& [number, command] :
         {std::pair<UINT, WPARAM>{WM_CLOSE, 0}, std::pair<UINT, WPARAM>{WM_SYSCOMMAND, SC_CLOSE}}) {
        Heard().clear();
        SendMessageA(window, number, command, 0);
        EXPECT_EQ(std::count(Heard().begin(), Heard().end(), MessageKind::Destroy), 1) << number;
        EXPECT_TRUE(IsWindow(window)) << "the devices attached to it are still held";
    }
}

TEST(WindowTest, ScreenSaverDisplaySleepAndWindowMenuAreHeldOff) {
    HWND window = GameWindow();
    Heard().clear();
    SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
    SendMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(Heard().empty()) << "none of them reached the default handling";
    // The display stays on for as long as the game runs.
    const EXECUTION_STATE held = SetThreadExecutionState(ES_CONTINUOUS);
    EXPECT_EQ(held, static_cast<EXECUTION_STATE>(ES_CONTINUOUS | ES_DISPLAY_REQUIRED));
    SetThreadExecutionState(held);
}

}  // namespace
}  // namespace korvane::platform::testing
