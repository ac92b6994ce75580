#include "platform/sound_device.h"
#include "sound/sound.h"

namespace korvane {

int SoundPlay(SoundId id, uint32_t flags) {
    if (id < 0 || id > 15) {
        return 0;
    }
    return platform::SoundBufferPlay(id, flags) ? 1 : 0;
}

}  // namespace korvane
