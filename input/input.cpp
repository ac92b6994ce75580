#include "input/input.h"

#include <cstring>

#include "input/key_map.h"
#include "platform/input_device.h"
#include "platform/window.h"

namespace korvane {

uint8_t KeyState[256] = {};
MouseSnapshot MouseState = {};

namespace {

constexpr uint32_t kInputVersion = 0x0500;
constexpr const char* kInputFailure = "Unable to create Initialize Direct Input.";

platform::InputSystemHandle inputSystem;
platform::InputDeviceHandle keyboard;
platform::InputDeviceHandle mouse;

// Create, cooperative level, data format, acquire; the device is kept (for
// shut-down to release) even when a later step fails.
bool OpenDevice(platform::InputDeviceKind kind, platform::InputDeviceHandle* device) {
    device->reset(platform::InputCreateDevice(inputSystem.get(), kind));
    platform::InputDevice* opened = device->get();
    return opened != nullptr &&
           platform::InputSetCooperation(opened,
                                         platform::kInputShared | platform::kInputBackground) &&
           platform::InputSetDataFormat(opened) && platform::InputAcquire(opened);
}

// A device found lost (taken by another program, unplugged and plugged in
// again) is acquired again and read once more in the same call; when that
// fails too, the read fails.
platform::InputReadResult ReadDevice(platform::InputDevice* device, void* destination,
                                     uint32_t bytes) {
    platform::InputReadResult result = platform::InputReadState(device, destination, bytes);
    if (result == platform::InputReadResult::Lost && platform::InputAcquire(device)) {
        result = platform::InputReadState(device, destination, bytes);
    }
    return result;
}

}  // namespace

void ResetInputState() {
    std::memset(KeyState, 0, sizeof KeyState);
    MouseState = MouseSnapshot{};
    // Devices left belong to a machine that is gone: forgotten, not released.
    static_cast<void>(mouse.release());
    static_cast<void>(keyboard.release());
    static_cast<void>(inputSystem.release());
}

bool KeyDown(uint8_t scanCode) {
    return KeyState[scanCode] != 0;
}

int InputInit() {
    inputSystem.reset(platform::InputCreate(kInputVersion));
    const bool ready = inputSystem != nullptr &&
                       OpenDevice(platform::InputDeviceKind::Keyboard, &keyboard) &&
                       OpenDevice(platform::InputDeviceKind::Mouse, &mouse);
    if (!ready) {
        platform::ShowMessageBox(kInputFailure);
        return 0;
    }
    return 1;
}

int InputShutdown() {
    mouse.reset();
    keyboard.reset();
    inputSystem.reset();
    return 1;
}

int InputReadKeyboard() {
    if (keyboard == nullptr) {
        std::memset(KeyState, 0, sizeof KeyState);
        return 0;
    }
    const platform::InputReadResult result = ReadDevice(keyboard.get(), KeyState, sizeof KeyState);
    if (result == platform::InputReadResult::Lost) {
        // A keyboard that cannot be had holds no key down: a key held as it
        // went away must not go on acting until it comes back.
        std::memset(KeyState, 0, sizeof KeyState);
    }
    return result == platform::InputReadResult::Ok ? 1 : 0;
}

int InputReadMouse() {
    if (mouse == nullptr) {
        std::memset(&MouseState, 0, sizeof MouseState);
        return 0;
    }
    static_assert(sizeof(MouseSnapshot) == platform::kMouseStateBytes);
    return ReadDevice(mouse.get(), &MouseState, sizeof MouseState) == platform::InputReadResult::Ok
               ? 1
               : 0;
}

}  // namespace korvane
