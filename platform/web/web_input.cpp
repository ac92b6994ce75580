// The browser's keyboard: the page's key events, game controllers (Gamepad
// API) and on-screen buttons, read together as one snapshot by scan code.
#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/input_device.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(void, korvane_web_read_keys, (uint8_t * snapshot), { KorvaneWeb.readKeys(snapshot); });
EM_JS(void, korvane_web_keys_in_use, (const uint8_t* scanCodes, uint32_t count),
      { KorvaneWeb.keysInUse(Array.from(HEAPU8.subarray(scanCodes, scanCodes + count))); });
// NOLINTEND

}  // namespace

namespace korvane::platform {

struct InputSystem {};
struct InputDevice {
    InputDeviceKind kind;
};

namespace {

InputSystem inputSystem;
InputDevice keyboardDevice{InputDeviceKind::Keyboard};
InputDevice mouseDevice{InputDeviceKind::Mouse};

}  // namespace

InputSystem* InputCreate(uint32_t /*version*/) {
    return &inputSystem;
}

InputDevice* InputCreateDevice(InputSystem* /*system*/, InputDeviceKind kind) {
    return kind == InputDeviceKind::Keyboard ? &keyboardDevice : &mouseDevice;
}

bool InputSetCooperation(InputDevice* /*device*/, uint32_t /*flags*/) {
    return true;
}

bool InputSetDataFormat(InputDevice* /*device*/) {
    return true;
}

bool InputAcquire(InputDevice* /*device*/) {
    return true;
}

InputReadResult InputReadState(InputDevice* device, void* destination, uint32_t bytes) {
    // The game reads no mouse: it stands still with its buttons up.
    std::array<uint8_t, kKeyboardStateBytes> snapshot{};
    if (device->kind == InputDeviceKind::Keyboard) {
        korvane_web_read_keys(snapshot.data());
    }
    std::memcpy(destination, snapshot.data(), std::min<size_t>(bytes, snapshot.size()));
    // Deliberate: never lost. A page keeps its keys; one that loses the focus
    // only lets go of those held.
    return InputReadResult::Ok;
}

void InputUnacquire(InputDevice* /*device*/) {}

void InputReleaseDevice(InputDevice* /*device*/) {}

void InputRelease(InputSystem* /*system*/) {}

// The on-screen buttons of a touch screen show only the keys the screen
// uses.
void InputKeysInUse(const uint8_t* scanCodes, uint32_t count) {
    korvane_web_keys_in_use(scanCodes, count);
}

}  // namespace korvane::platform
