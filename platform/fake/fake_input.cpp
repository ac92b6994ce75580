#include "platform/fake/fake_input.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/input_device.h"

namespace korvane {

namespace platform {
struct InputSystem {
    bool created = false;
};
struct InputDevice {
    InputDeviceKind kind;
    const char* name;
    bool created = false;
    bool acquired = false;
    // Unplugged: it cannot be acquired until it is plugged in again.
    bool unplugged = false;
};
}  // namespace platform

namespace {

struct KeyEvent {
    uint8_t code;
    bool down;
};

struct FakeInput {
    platform::InputSystem system;
    platform::InputDevice keyboard{platform::InputDeviceKind::Keyboard, "keyboard"};
    platform::InputDevice mouse{platform::InputDeviceKind::Mouse, "mouse"};
    std::array<uint8_t, platform::kKeyboardStateBytes> keys{};
    // By time; events at the same time keep the order they were given in.
    std::multimap<uint64_t, KeyEvent> scheduled;
    std::array<uint8_t, platform::kMouseStateBytes> mouseState{};
    int keyboardReads = 0;
};

FakeInput input;

// Fails the step when the test said so, and journals it otherwise.
bool Step(const platform::InputDevice* device, const char* step) {
    std::string name = std::string("input.") + (device != nullptr ? device->name : "") +
                       (device != nullptr ? "." : "") + step;
    if (fake::StepFailure(name) != 0) {
        return false;
    }
    fake::Journal(name);
    return true;
}

void ApplyDueKeys() {
    const uint64_t now = fake::VirtualTimeNs();
    auto event = input.scheduled.begin();
    for (; event != input.scheduled.end() && event->first <= now; ++event) {
        input.keys[event->second.code] = event->second.down ? 0x80 : 0;
    }
    input.scheduled.erase(input.scheduled.begin(), event);
}

}  // namespace

namespace platform {

InputSystem* InputCreate(uint32_t version) {
    if (version != 0x0500 || !Step(nullptr, "create")) {
        return nullptr;
    }
    input.system.created = true;
    return &input.system;
}

InputDevice* InputCreateDevice(InputSystem* system, InputDeviceKind kind) {
    InputDevice* device = kind == InputDeviceKind::Keyboard ? &input.keyboard : &input.mouse;
    if (system == nullptr || !Step(device, "create")) {
        return nullptr;
    }
    device->created = true;
    return device;
}

bool InputSetCooperation(InputDevice* device, uint32_t flags) {
    return flags == (kInputShared | kInputBackground) && Step(device, "cooperate");
}

bool InputSetDataFormat(InputDevice* device) {
    return Step(device, "format");
}

bool InputAcquire(InputDevice* device) {
    if (device->unplugged) {
        fake::StepFailure(std::string("input.") + device->name +
                          ".acquire");  // counted all the same
        return false;
    }
    if (!Step(device, "acquire")) {
        return false;
    }
    device->acquired = true;
    return true;
}

InputReadResult InputReadState(InputDevice* device, void* destination, uint32_t bytes) {
    const std::string step = std::string("input.") + device->name + ".read";
    if (fake::StepFailure(step) != 0) {
        return InputReadResult::Failed;
    }
    // Keys go up and down whether or not the game can read them.
    ApplyDueKeys();
    if (!device->acquired) {
        return InputReadResult::Lost;
    }
    if (device->kind == InputDeviceKind::Keyboard) {
        ++input.keyboardReads;
        std::memcpy(destination, input.keys.data(), std::min<size_t>(bytes, input.keys.size()));
    } else {
        std::memcpy(destination, input.mouseState.data(),
                    std::min<size_t>(bytes, input.mouseState.size()));
        input.mouseState.fill(0);
    }
    return InputReadResult::Ok;
}

void InputUnacquire(InputDevice* device) {
    device->acquired = false;
    fake::Journal(std::string("input.") + device->name + ".unacquire");
}

void InputReleaseDevice(InputDevice* device) {
    device->created = false;
    fake::Journal(std::string("input.") + device->name + ".release");
}

void InputRelease(InputSystem* system) {
    system->created = false;
    fake::Journal("input.release");
}

// The headless backend draws no keys of its own.
void InputKeysInUse(const uint8_t* /*scanCodes*/, uint32_t /*count*/) {}

}  // namespace platform

namespace fake {

void SetKey(uint8_t scanCode, bool down) {
    input.keys[scanCode] = down ? 0x80 : 0;
}

void ScheduleKey(uint64_t atNs, uint8_t scanCode, bool down) {
    input.scheduled.emplace(atNs, KeyEvent{scanCode, down});
}

void SetMouse(int32_t dx, int32_t dy, uint8_t buttons) {
    const int32_t z = 0;
    std::memcpy(input.mouseState.data(), &dx, 4);
    std::memcpy(input.mouseState.data() + 4, &dy, 4);
    std::memcpy(input.mouseState.data() + 8, &z, 4);
    input.mouseState[12] = buttons;
}

int KeyboardReads() {
    return input.keyboardReads;
}

void LoseKeyboard() {
    input.keyboard.acquired = false;
    Journal("input.keyboard lost");
}

void UnplugKeyboard() {
    input.keyboard.acquired = false;
    input.keyboard.unplugged = true;
    Journal("input.keyboard unplugged");
}

void PlugKeyboard() {
    input.keyboard.unplugged = false;
    Journal("input.keyboard plugged");
}

namespace detail {
void ResetInputDevices() {
    input = FakeInput{};
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
