// The eight block pictures, each in an off-screen surface of its own.
#include <cstdio>

#include "gfx/hud.h"
#include "gfx/playfield.h"
#include "gfx/video.h"
#include "timing/clock.h"

namespace korvane {

platform::SurfaceHandle BlockSurfaces[kBlockPictures];

void ResetBlockImages() {
    // What is left belongs to a machine that is gone: forgotten, not released.
    for (platform::SurfaceHandle& surface : BlockSurfaces) {
        static_cast<void>(surface.release());
    }
}

int BlockImagesLoad() {
    for (int k = 1; k <= kBlockPictures; ++k) {
        BlockSurfaces[k - 1] = VideoCreateOffscreen(kBlockSize, kBlockSize, 0);
        if (BlockSurfaces[k - 1] == nullptr) {
            return 0;
        }
        std::snprintf(playfieldText, sizeof playfieldText, "Art\\Block%d.kvp", k);
        Image image;
        if (ImageLoad(&image, playfieldText, 16) == 0) {
            return 0;
        }
        if (VideoCopyImage(BlockSurfaces[k - 1].get(), image, kBlockSize, kBlockSize, 16) == 0) {
            return 0;
        }
        // Deliberate: the pause keeps the loading picture up for at least four
        // seconds in all, whatever the machine's speed.
        Delay(500);
        ImageFree(&image);
    }
    return 1;
}

int BlockImagesRelease() {
    for (platform::SurfaceHandle& surface : BlockSurfaces) {
        surface.reset();
    }
    return 1;
}

}  // namespace korvane
