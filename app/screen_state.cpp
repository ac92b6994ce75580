#include "app/screen_state.h"

namespace korvane {

ScreenState screenState = ScreenState::Starting;

const char* ScreenStateName(ScreenState state) {
    switch (state) {
        case ScreenState::Starting:
            return "Starting";
        case ScreenState::MainMenu:
            return "MainMenu";
        case ScreenState::Quit:
            return "Quit";
        case ScreenState::GameOver:
            return "GameOver";
        case ScreenState::FileMenu:
            return "FileMenu";
        case ScreenState::Playing:
            return "Playing";
        case ScreenState::Won:
            return "Won";
    }
    return "Unknown";
}

}  // namespace korvane
