#include "app/program_state.h"

#include "app/frame.h"
#include "app/menus.h"
#include "app/screen_state.h"
#include "app/startup.h"
#include "game/board.h"
#include "gfx/playfield.h"
#include "gfx/video.h"
#include "input/input.h"
#include "sound/sound.h"
#include "timing/clock.h"

namespace korvane {

void ResetProgramState() {
    ResetClock();
    ResetGameState();
    ResetBlockImages();
    ResetVideoState();
    ResetInputState();
    ResetSoundState();
    ResetFrameState();
    ResetMenuState();
    ResetStartUpState();
    screenState = ScreenState::Starting;
}

}  // namespace korvane
