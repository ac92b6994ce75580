#pragma once
// Bringing every subsystem up behind the loading picture, and down again.
#include <string>

#include "gfx/image.h"

namespace korvane {

extern Image loadingImage;  // "Art\Loading.kvp", shown during start-up

// Every step in order, stopping at the first that fails; 1 when all is up.
int StartUp();
// Releases what exists: game assets, background, menu pictures, sound,
// input, video.
int ShutDown();
// The block pictures (with their pauses), the board, the effect sounds and
// the counters; 0 when a block picture or the board cannot be had.
int LoadGameAssets();
int FreeGameAssets();

// After a failed StartUp: which step failed, naming the file for a picture
// ("the picture Art/Loading.kvp could not be loaded"). Empty otherwise.
const std::string& StartUpFailure();
// No loading picture and no failure recorded, as at program start.
void ResetStartUpState();

}  // namespace korvane
