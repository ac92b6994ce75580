// The page's keyboard: its key events, on-screen buttons and game controllers
// (Gamepad API), read as states into the shared snapshot input
// (platform/common/snapshot_input.cpp); the controllers through the shared
// map (platform/common/controller_map.h).
#include <emscripten.h>

#include <cstdint>

#include "platform/common/controller_map.h"
#include "platform/common/memory_backend.h"
#include "platform/input_device.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(void, korvane_web_read_keys, (uint8_t * snapshot), { KorvaneWeb.readKeys(snapshot); });
EM_JS(int, korvane_web_read_pads, (uint32_t * held, double* axes, int most),
      { return KorvaneWeb.readPads(held, axes, most); });
EM_JS(void, korvane_web_keys_in_use, (const uint8_t* scanCodes, uint32_t count),
      { KorvaneWeb.keysInUse(Array.from(HEAPU8.subarray(scanCodes, scanCodes + count))); });
// NOLINTEND

// More controllers than any browser offers at once.
constexpr int kMostPads = 8;

}  // namespace

namespace korvane::platform {
namespace backend {

bool StartInput() {
    return true;
}

void StopInput() {}

void ReadKeyboard(uint8_t* snapshot) {
    korvane_web_read_keys(snapshot);
    uint32_t held[kMostPads] = {};
    double axes[2 * kMostPads] = {};
    const int pads = korvane_web_read_pads(held, axes, kMostPads);
    for (int pad = 0; pad < pads && pad < kMostPads; ++pad) {
        AddPadKeys(PadState{held[pad], axes[2 * pad], axes[2 * pad + 1]}, snapshot);
    }
}

// The game reads no mouse: it stands still with its buttons up.
void ReadMouse(uint8_t* /*snapshot*/) {}

}  // namespace backend

// The on-screen buttons of a touch screen show only the keys the screen
// uses.
void InputKeysInUse(const uint8_t* scanCodes, uint32_t count) {
    korvane_web_keys_in_use(scanCodes, count);
}

}  // namespace korvane::platform
