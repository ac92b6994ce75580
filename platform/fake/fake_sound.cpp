#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/sound_device.h"

namespace korvane {
namespace {
std::vector<fake::SoundCall> soundCalls;
}  // namespace

namespace platform {

bool SoundBufferPlay(int slot, uint32_t flags) {
    if (fake::StepFailure("sound.play") != 0) {
        return false;
    }
    soundCalls.push_back({"play", slot, flags});
    return true;
}

}  // namespace platform

namespace fake {

const std::vector<SoundCall>& SoundCalls() {
    return soundCalls;
}
void ClearSoundCalls() {
    soundCalls.clear();
}

namespace detail {
void ResetSoundDevice() {
    soundCalls.clear();
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
