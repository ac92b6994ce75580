// How long a sound takes in the browser from the game's SoundPlay to the
// page's audio output, played the two ways the browser backend could play
// it: a Web Audio buffer source node per sound (the backend's way), or the
// shared software mixer filling a ScriptProcessor's buffers on the page's
// thread. The page (scripts/bench-web-sound.mjs) taps the audio just before
// the speakers and times the first sample of each click.
//   korvane_sound_latency.js nodes|mixer
#include <emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/common/sound_mixer.h"
#include "platform/sound_device.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(void, bench_arm, (double atMs), { Module.benchArm(atMs); });
// The shared mixer fills a ScriptProcessor's buffers on the page's thread.
EM_JS(void, bench_start_mixer, (), {
    var context = new AudioContext();
    var node = context.createScriptProcessor(Module.benchBufferFrames, 0, 2);
    node.onaudioprocess = function(event) {
        var frames = event.outputBuffer.length;
        var at = _bench_mix(frames, context.sampleRate) >> 2;
        var left = event.outputBuffer.getChannelData(0);
        var right = event.outputBuffer.getChannelData(1);
        for (var i = 0; i < frames; ++i) {
            left[i] = HEAPF32[at + 2 * i];
            right[i] = HEAPF32[at + 2 * i + 1];
        }
    };
    node.connect(context.destination);
    Module.benchMixerNode = node;
});
EM_JS(void, bench_done, (), { Module.benchDone(); });
EM_JS(double, bench_now_ms, (), { return performance.now(); });
// NOLINTEND

constexpr uint32_t kRate = 44'100;
constexpr uint32_t kClickFrames = kRate / 10;
constexpr int kClicks = 40;

// A tenth of a second of a square wave at half of full scale, 16-bit mono.
std::vector<uint8_t> Click() {
    std::vector<uint8_t> bytes(kClickFrames * 2);
    for (uint32_t i = 0; i < kClickFrames; ++i) {
        const int16_t sample = (i / 50) % 2 == 0 ? 16'000 : -16'000;
        std::memcpy(bytes.data() + i * 2, &sample, 2);
    }
    return bytes;
}

std::vector<uint8_t> clickBytes = Click();
korvane::platform::PcmVoice mixerVoice;
bool mixerPlaying = false;
uint32_t mixerRate = kRate;

// Where the mixer's clicks start: the page asks for `frames` stereo frames.
std::vector<float> mixed;

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE float* bench_mix(uint32_t frames, uint32_t outputRate) {
    mixed.assign(static_cast<size_t>(frames) * 2, 0.0F);
    mixerRate = outputRate;
    if (mixerPlaying && !korvane::platform::MixVoiceInto(mixerVoice, mixed.data(), frames)) {
        mixerPlaying = false;
    }
    return mixed.data();
}

int main(int argc, char** argv) {
    using namespace korvane::platform;
    const bool nodes = argc > 1 && std::string(argv[1]) == "nodes";
    SoundBuffer buffer;
    if (nodes) {
        SoundDeviceOpen();
        SoundBufferDescription description;
        description.flags = kBufferStatic;
        description.bytes = static_cast<uint32_t>(clickBytes.size());
        description.format = {kFormatPcm, 1, kRate, kRate * 2, 2, 16, 0};
        buffer = SoundBufferCreate(description, 0);
        SoundRegions regions;
        SoundBufferLock(*buffer, 0, description.bytes, false, &regions);
        std::memcpy(regions.first, clickBytes.data(), regions.firstBytes);
        SoundBufferUnlock(*buffer, regions);
    } else {
        mixerVoice.bytes = clickBytes.data();
        mixerVoice.channels = 1;
        mixerVoice.bitsPerSample = 16;
        mixerVoice.frameCount = kClickFrames;
        bench_start_mixer();
    }
    SleepMs(1000);  // the output settles
    for (int click = 0; click < kClicks; ++click) {
        const double at = bench_now_ms();
        bench_arm(at);
        if (nodes) {
            SoundBufferSetPosition(*buffer, 0);
            SoundBufferPlay(*buffer, 0);
        } else {
            mixerVoice.position = 0;
            mixerVoice.step = MixStep(kRate, mixerRate);
            mixerPlaying = true;
        }
        SleepMs(250);
    }
    bench_done();
    return 0;
}
