// The keyboard and mouse of a backend that reads the host's keys as a state
// whenever the game asks: no device is ever lost, and a read is a fresh
// snapshot from the backend (memory_backend.h).
#include <algorithm>
#include <array>
#include <cstring>

#include "platform/common/memory_backend.h"
#include "platform/input_device.h"

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
    return backend::StartInput() ? &inputSystem : nullptr;
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
    std::array<uint8_t, kKeyboardStateBytes> snapshot{};
    if (device->kind == InputDeviceKind::Keyboard) {
        backend::ReadKeyboard(snapshot.data());
    } else {
        backend::ReadMouse(snapshot.data());
    }
    std::memcpy(destination, snapshot.data(), std::min<size_t>(bytes, snapshot.size()));
    // Deliberate: never lost. The desktop forgets every key held when its
    // window loses the focus, and a page lets go of them, so nothing stays
    // down and a read always finds the keyboard.
    return InputReadResult::Ok;
}

void InputUnacquire(InputDevice* /*device*/) {}

void InputReleaseDevice(InputDevice* /*device*/) {}

void InputRelease(InputSystem* /*system*/) {
    backend::StopInput();
}

}  // namespace korvane::platform
