#include "platform/sound_device.h"

namespace korvane::platform {

bool SoundBufferPlay(int /*slot*/, uint32_t /*flags*/) {
    return false;
}

}  // namespace korvane::platform
