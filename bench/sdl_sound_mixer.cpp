// Cost of the SDL sound device's mixing: one second of audio with all sixteen
// slots playing looped sounds of mixed formats, mixed in callback-sized
// pieces exactly as the audio callback does. The time per iteration is the
// time per second of audio, so its share of one second is the share of one
// core the mixer takes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/sdl/sdl_sound.h"
#include "sound/sound.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

void Put(std::vector<uint8_t>& bytes, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// One second of a PCM tone in the given format, as a WAV file's bytes.
std::vector<uint8_t> OneSecondWav(uint16_t channels, uint32_t rate, uint16_t bits) {
    const auto block = static_cast<uint16_t>(channels * bits / 8);
    const uint32_t dataBytes = rate * block;
    std::vector<uint8_t> bytes{'R', 'I', 'F', 'F'};
    Put(bytes, 36 + dataBytes, 4);
    for (char c : std::string("WAVEfmt ")) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    Put(bytes, 16, 4);
    Put(bytes, 1, 2);
    Put(bytes, channels, 2);
    Put(bytes, rate, 4);
    Put(bytes, rate * block, 4);
    Put(bytes, block, 2);
    Put(bytes, bits, 2);
    for (char c : std::string("data")) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    Put(bytes, dataBytes, 4);
    for (uint32_t i = 0; i < dataBytes; ++i) {
        bytes.push_back(static_cast<uint8_t>((i * 7) % 251));
    }
    return bytes;
}

bool LoadSixteenPlayingSounds(bool changeRates) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SoundInit() != 1) {
        return false;
    }
    const fs::path folder =
        fs::temp_directory_path() / ("korvane-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const uint32_t rates[] = {11025, 22050, 44100, 48000};
    for (SoundId id = 0; id < kSoundSlots; ++id) {
        const auto channels = static_cast<uint16_t>(1 + id % 2);
        const auto bits = static_cast<uint16_t>(id % 4 < 2 ? 8 : 16);
        const fs::path path = folder / (std::to_string(id) + ".wav");
        const auto bytes = OneSecondWav(channels, rates[id % 4], bits);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (SoundLoadWav(path.string().c_str(), 0x20 | 0x40) != id) {
            return false;
        }
        SoundSetVolume(id, 60 + id);
        SoundSetPan(id, id * 500 - 4000);
        if (changeRates) {
            SoundSetFrequency(id, rates[id % 4] * (90 + id) / 100);
        }
        SoundPlay(id, kPlayLooping);
    }
    fs::remove_all(folder);
    platform::sdl::PauseSoundDevice(true);  // only the benchmark mixes
    return true;
}

void BM_MixOneSecondOfSixteenSlots(benchmark::State& state) {
    if (!LoadSixteenPlayingSounds(state.range(0) != 0)) {
        state.SkipWithError("no sound device");
        return;
    }
    constexpr uint32_t kCallbackFrames = 1024;
    const uint32_t rate = platform::sdl::SoundDeviceRate();
    std::vector<float> out(kCallbackFrames * 2);
    for (auto _ : state) {
        for (uint32_t done = 0; done < rate; done += kCallbackFrames) {
            platform::sdl::MixPlayingSounds(out.data(), kCallbackFrames);
            benchmark::DoNotOptimize(out.data());
        }
    }
    // Seconds of audio mixed per second of processor time; its inverse is
    // the share of one core.
    state.counters["audio_seconds_per_cpu_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    SoundShutdown();
}
BENCHMARK(BM_MixOneSecondOfSixteenSlots)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("changed_rates")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane
