#pragma once
// The main menu and the file menu: their pictures, their music and keys.
#include <cstdint>

#include "gfx/image.h"
#include "sound/sound.h"

namespace korvane {

enum class MenuChoice : uint8_t {
    Failed = 0,        // the screen could not be shown; the keyboard was not read
    NoChoice = 1,      // shown, no menu key down
    NewGame = 2,       // main menu, N
    OpenFileMenu = 3,  // main menu, G
    Resume = 4,        // main menu, R
    Exit = 5,          // main menu, E
    FileMenuL = 6,     // file menu, L: nothing follows
    FileMenuS = 7,     // file menu, S: nothing follows
    Back = 8,          // file menu, B
};

extern Image menuImage;      // "Art\Menu.kvp"
extern Image fileMenuImage;  // "Art\FileMenu.kvp"
extern SoundId menuMusic;    // "Sound\Background.wav", for both menus
// 1: the next menu frame reveals its picture with the wipe instead of a flip.
extern uint32_t menuWipePending;

// One frame of a menu screen: picture, music, present, keyboard.
MenuChoice RunMainMenu();
MenuChoice RunFileMenu();

// 1, or 0 when either picture cannot be loaded (no message).
int LoadMenuAssets();
int FreeMenuAssets();
// No pictures, no music, no wipe pending, as at program start.
void ResetMenuState();

}  // namespace korvane
