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

platform::InputSystem* inputSystem = nullptr;
platform::InputDevice* keyboard = nullptr;
platform::InputDevice* mouse = nullptr;

// Create, cooperative level, data format, acquire; the device is kept (for
// shut-down to release) even when a later step fails.
bool OpenDevice(platform::InputDeviceKind kind, platform::InputDevice** device) {
    *device = platform::InputCreateDevice(inputSystem, kind);
    return *device != nullptr &&
           platform::InputSetCooperation(*device,
                                         platform::kInputShared | platform::kInputBackground) &&
           platform::InputSetDataFormat(*device) && platform::InputAcquire(*device);
}

void CloseDevice(platform::InputDevice** device) {
    if (*device != nullptr) {
        platform::InputUnacquire(*device);
        platform::InputReleaseDevice(*device);
        *device = nullptr;
    }
}

}  // namespace

void ResetInputState() {
    std::memset(KeyState, 0, sizeof KeyState);
    MouseState = MouseSnapshot{};
}

bool KeyDown(uint8_t scanCode) {
    return KeyState[scanCode] != 0;
}

int InputInit() {
    inputSystem = platform::InputCreate(kInputVersion);
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
    CloseDevice(&mouse);
    CloseDevice(&keyboard);
    if (inputSystem != nullptr) {
        platform::InputRelease(inputSystem);
        inputSystem = nullptr;
    }
    return 1;
}

int InputReadKeyboard() {
    if (keyboard == nullptr) {
        std::memset(KeyState, 0, sizeof KeyState);
        return 0;
    }
    return platform::InputReadState(keyboard, KeyState, sizeof KeyState) ? 1 : 0;
}

int InputReadMouse() {
    if (mouse == nullptr) {
        std::memset(&MouseState, 0, sizeof MouseState);
        return 0;
    }
    static_assert(sizeof(MouseSnapshot) == platform::kMouseStateBytes);
    return platform::InputReadState(mouse, &MouseState, sizeof MouseState) ? 1 : 0;
}

}  // namespace korvane
