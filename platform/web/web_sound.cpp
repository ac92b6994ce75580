// The browser's sound: the shared clocked buffers (timed_sound.h) on the
// page's clock, heard through Web Audio. Each sound is handed to the page
// once, as loaded; playing, stopping, rewinding and the rate start or stop
// its node from where the clock says it is, and volume and pan set the gain
// of each side as the shared mixer would.
#include <emscripten.h>

#include <string_view>

#include "platform/common/sound_mixer.h"
#include "platform/common/timed_sound.h"
#include "platform/web/web_shared.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(int, korvane_web_audio_available, (), { return KorvaneWeb.audioAvailable() ? 1 : 0; });
EM_JS(uint32_t, korvane_web_sound_create, (), { return KorvaneWeb.createSound(); });
EM_JS(void, korvane_web_sound_samples,
      (uint32_t handle, const uint8_t* bytes, uint32_t count, int channels, int bits, int rate),
      { KorvaneWeb.setSamples(handle, bytes, count, channels, bits, rate); });
EM_JS(void, korvane_web_sound_playing,
      (uint32_t handle, int playing, int looping, double startedAtMs, uint32_t startFrame,
       uint32_t rate),
      { KorvaneWeb.setPlaying(handle, !!playing, !!looping, startedAtMs, startFrame, rate); });
EM_JS(void, korvane_web_sound_gains, (uint32_t handle, float left, float right),
      { KorvaneWeb.setGains(handle, left, right); });
EM_JS(void, korvane_web_sound_release, (uint32_t handle), { KorvaneWeb.releaseSound(handle); });
EM_JS(void, korvane_web_sound_silence, (), { KorvaneWeb.silenceAll(); });
// NOLINTEND

constexpr double kNsPerMs = 1'000'000.0;

}  // namespace

namespace korvane::platform {
namespace {

void TellPlaying(const SoundBufferData& buffer) {
    const TimedSoundState& s = buffer.state;
    korvane_web_sound_playing(buffer.outputHandle, s.playing ? 1 : 0, s.looping ? 1 : 0,
                              static_cast<double>(buffer.startedAtNs) / kNsPerMs, buffer.startFrame,
                              s.frequency);
}

void TellGains(const SoundBufferData& buffer) {
    float left = 1.0F;
    float right = 1.0F;
    StereoGains(buffer.state.volume, buffer.state.pan, &left, &right);
    korvane_web_sound_gains(buffer.outputHandle, left, right);
}

}  // namespace

bool SoundStepGoesAhead(const char* step) {
    // A page without Web Audio has no sound device.
    return std::string_view(step) != "sound.create" || korvane_web_audio_available() != 0;
}

uint64_t SoundClockNs() {
    return static_cast<uint64_t>(web::PageNowMs() * kNsPerMs);
}

void SoundOutputEvent(SoundEvent event, SoundBufferData* buffer, uint32_t /*value*/) {
    switch (event) {
        case SoundEvent::DeviceOpened:
        case SoundEvent::DeviceAttached:
        case SoundEvent::StatusRead:
            break;
        case SoundEvent::DeviceClosed:
            korvane_web_sound_silence();
            break;
        case SoundEvent::Created:
            buffer->outputHandle = korvane_web_sound_create();
            TellGains(*buffer);
            break;
        case SoundEvent::Released:
            korvane_web_sound_release(buffer->outputHandle);
            break;
        case SoundEvent::SamplesChanged: {
            const SoundFormat& format = buffer->state.description.format;
            korvane_web_sound_samples(buffer->outputHandle, buffer->state.bytes.data(),
                                      static_cast<uint32_t>(buffer->state.bytes.size()),
                                      format.channels, format.bitsPerSample,
                                      static_cast<int>(format.samplesPerSecond));
            break;
        }
        case SoundEvent::Started:
        case SoundEvent::Stopped:
        case SoundEvent::Positioned:
        case SoundEvent::RateChanged:
            TellPlaying(*buffer);
            break;
        case SoundEvent::GainsChanged:
            TellGains(*buffer);
            break;
    }
}

}  // namespace korvane::platform
