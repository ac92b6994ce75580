#include "app/startup.h"

#include <string>

#include "app/frame.h"
#include "app/menus.h"
#include "app/screen_state.h"
#include "game/board.h"
#include "game/scoring.h"
#include "gfx/playfield.h"
#include "gfx/video.h"
#include "input/input.h"
#include "platform/game_path.h"
#include "sound/sound.h"
#include "timing/clock.h"

namespace korvane {

Image loadingImage;

namespace {

std::string failure;

int Fail(std::string what) {
    failure = std::move(what);
    return 0;
}

int FailPicture(const char* gamePath) {
    return Fail("the picture " + platform::WithSlashes(gamePath) + " could not be loaded");
}

bool ShowLoadingPicture() {
    int32_t pitch = 0;
    void* pixels = VideoLock(videoDevice.backBuffer, &pitch);
    if (pixels == nullptr) {
        return false;
    }
    ImageCopyRows(pixels, loadingImage, pitch, kScreenWidth, kScreenHeight, kScreenDepth);
    return VideoUnlock(videoDevice.backBuffer) != 0 && VideoFlip() != 0;
}

// Names the block picture that cannot be loaded, or the surfaces when every
// picture loads; only asked after the block pictures failed.
std::string BlockFailure() {
    for (int k = 1; k <= 8; ++k) {
        const std::string path = "Art\\Block" + std::to_string(k) + ".kvp";
        Image probe;
        if (ImageLoad(&probe, path.c_str(), kScreenDepth) == 0) {
            return "the picture " + platform::WithSlashes(path.c_str()) + " could not be loaded";
        }
        ImageFree(&probe);
    }
    return "the block surfaces could not be made";
}

}  // namespace

const std::string& StartUpFailure() {
    return failure;
}

int LoadGameAssets() {
    if (BlockImagesLoad() == 0) {
        return Fail(BlockFailure());
    }
    if (AllocateBoard() == 0) {
        return Fail("the memory for the board could not be had");
    }
    ThudSound = SoundLoadWav("Sound\\Thud.wav", 0);
    DropSound = SoundLoadWav("Sound\\Drop.wav", 0);
    RotateSound = SoundLoadWav("Sound\\Rotate.wav", 0);
    scoreCounters = ScoreCounters{0, 1, 0};
    return 1;
}

int FreeGameAssets() {
    BlockImagesRelease();
    FreeBoard();
    return 1;
}

int StartUp() {
    failure.clear();
    if (VideoInit(kScreenWidth, kScreenHeight, kScreenDepth) == 0) {
        return Fail("the display could not be set up");
    }
    if (ImageLoad(&loadingImage, "Art\\Loading.kvp", kScreenDepth) == 0) {
        return FailPicture("Art\\Loading.kvp");
    }
    if (!ShowLoadingPicture()) {
        return Fail("the loading picture could not be shown");
    }
    if (ImageLoad(&mainImage, "Art\\Main.kvp", kScreenDepth) == 0) {
        return FailPicture("Art\\Main.kvp");
    }
    if (InputInit() == 0) {
        return Fail("the keyboard and mouse could not be opened");
    }
    if (SoundInit() == 0) {
        return Fail("the sound device could not be opened");
    }
    gameMusic = SoundLoadWav("Sound\\Music.wav", 0);
    InitClock();
    if (LoadGameAssets() == 0) {
        return 0;
    }
    ResetCounters();
    ClearBoard();
    SpawnPiece();
    if (LoadMenuAssets() == 0) {
        return FailPicture(menuImage.Loaded() ? "Art\\FileMenu.kvp" : "Art\\Menu.kvp");
    }
    screenState = ScreenState::MainMenu;
    ImageFree(&loadingImage);
    return 1;
}

void ResetStartUpState() {
    ImageFree(&loadingImage);
    failure.clear();
}

int ShutDown() {
    FreeGameAssets();
    ImageFree(&mainImage);
    // Only a start-up that stopped part-way leaves the loading picture.
    ImageFree(&loadingImage);
    FreeMenuAssets();
    SoundShutdown();
    InputShutdown();
    VideoShutdown();
    return 1;
}

}  // namespace korvane
