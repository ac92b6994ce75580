// SoundLoadWav from arbitrary bytes, through the RIFF reader and the fake
// sound device, followed by the operations a loaded sound goes through.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "sound/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvane;
    fake::Reset();
    SoundShutdown();
    if (SoundInit() != 1) {
        return 0;
    }
    fake::AddFile("Sound\\Fuzz.wav", std::vector<uint8_t>(data, data + size));
    constexpr uint32_t kFrequencyAndPanControl = 0x20 | 0x40;
    const SoundId id = SoundLoadWav("Sound\\Fuzz.wav", kFrequencyAndPanControl);
    if (id >= 0) {
        SoundPlay(id, kPlayLooping);
        fake::AdvanceNs(30'000'000);
        SoundStatus(id);
        SoundSetVolume(id, 40);
        SoundSetFrequency(id, 22050);
        SoundSetPan(id, -2000);
        fake::AdvanceNs(30'000'000);
        SoundPlay(id, kPlayOnce);
        fake::AdvanceNs(5'000'000'000);
        SoundStatus(id);
        SoundStop(id);
    }
    SoundShutdown();
    return 0;
}
