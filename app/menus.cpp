#include "app/menus.h"

#include "gfx/video.h"
#include "gfx/wipe.h"
#include "input/input.h"
#include "input/key_map.h"

namespace korvane {

Image menuImage;
Image fileMenuImage;
SoundId menuMusic = -1;
uint32_t menuWipePending = 0;

namespace {

// Copies the picture into the back buffer, keeps the menu music going and
// shows the result; false when any step of that failed.
bool ShowMenu(const Image& picture) {
    int32_t pitch = 0;
    void* pixels = VideoLock(videoDevice.backBuffer, &pitch);
    if (pixels == nullptr) {
        return false;
    }
    ImageCopyRows(pixels, picture, pitch, kScreenWidth, kScreenHeight, kScreenDepth);
    if (VideoUnlock(videoDevice.backBuffer) == 0) {
        return false;
    }
    if ((SoundStatus(menuMusic) & kStatusPlaying) == 0) {
        SoundPlay(menuMusic, kPlayLooping);
    }
    int shown = 0;
    if (menuWipePending == 1) {
        shown = WipeTransition();
        menuWipePending = 0;
    } else {
        shown = VideoFlip();
    }
    return shown != 0;
}

}  // namespace

MenuChoice RunMainMenu() {
    if (!ShowMenu(menuImage)) {
        return MenuChoice::Failed;
    }
    InputReadKeyboard();
    // Deliberate: the keys are tested in a fixed order and only the first one
    // down counts, so N held with E starts a game rather than quitting.
    if (KeyDown(kKeyN)) {
        SoundStop(menuMusic);
        menuWipePending = 1;
        return MenuChoice::NewGame;
    }
    if (KeyDown(kKeyG)) {
        menuWipePending = 1;
        return MenuChoice::OpenFileMenu;
    }
    if (KeyDown(kKeyR)) {
        menuWipePending = 1;
        SoundStop(menuMusic);
        return MenuChoice::Resume;
    }
    if (KeyDown(kKeyE)) {
        SoundStop(menuMusic);
        return MenuChoice::Exit;
    }
    return MenuChoice::NoChoice;
}

MenuChoice RunFileMenu() {
    if (!ShowMenu(fileMenuImage)) {
        return MenuChoice::Failed;
    }
    InputReadKeyboard();
    if (KeyDown(kKeyL)) {
        return MenuChoice::FileMenuL;
    }
    if (KeyDown(kKeyS)) {
        return MenuChoice::FileMenuS;
    }
    if (KeyDown(kKeyB)) {
        menuWipePending = 1;
        return MenuChoice::Back;
    }
    return MenuChoice::NoChoice;
}

int LoadMenuAssets() {
    if (ImageLoad(&menuImage, "Art\\Menu.kvp", kScreenDepth) == 0) {
        return 0;
    }
    if (ImageLoad(&fileMenuImage, "Art\\FileMenu.kvp", kScreenDepth) == 0) {
        return 0;
    }
    menuMusic = SoundLoadWav("Sound\\Background.wav", 0);
    menuWipePending = 1;
    return 1;
}

void ResetMenuState() {
    ImageFree(&menuImage);
    ImageFree(&fileMenuImage);
    menuMusic = -1;
    menuWipePending = 0;
}

int FreeMenuAssets() {
    ImageFree(&menuImage);
    ImageFree(&fileMenuImage);
    return 1;
}

}  // namespace korvane
