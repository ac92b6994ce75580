#pragma once
// Which screen the program shows; the frame driver runs the one it names.
#include <cstdint>

namespace korvane {

enum class ScreenState : uint8_t {
    Starting = 0,
    MainMenu = 1,
    Quit = 2,
    GameOver = 3,
    FileMenu = 4,
    Playing = 5,
    Won = 6,
};

// Starting until start-up ends; changed afterwards only by the frame driver.
extern ScreenState screenState;

// "MainMenu", "Playing", ... for traces and messages.
const char* ScreenStateName(ScreenState state);

}  // namespace korvane
