// The Windows backend's keyboard and mouse: DirectInput devices read as
// whole snapshots.
#define DIRECTINPUT_VERSION 0x0500
#include <dinput.h>

#include "platform/input_device.h"
#include "platform/win32/win32_shared.h"

namespace korvane::platform {

struct InputSystem {
    IDirectInputA* directInput = nullptr;
};

struct InputDevice {
    IDirectInputDeviceA* device = nullptr;
    InputDeviceKind kind = InputDeviceKind::Keyboard;
};

namespace {

// One input object and one device of each kind at a time, as the game uses them.
InputSystem inputSystem;
InputDevice keyboardDevice{nullptr, InputDeviceKind::Keyboard};
InputDevice mouseDevice{nullptr, InputDeviceKind::Mouse};

}  // namespace

InputSystem* InputCreate(uint32_t version) {
    if (inputSystem.directInput != nullptr ||
        FAILED(DirectInputCreateA(win32::ModuleHandle(), version, &inputSystem.directInput,
                                  nullptr))) {
        return nullptr;
    }
    return &inputSystem;
}

InputDevice* InputCreateDevice(InputSystem* system, InputDeviceKind kind) {
    InputDevice& made = kind == InputDeviceKind::Keyboard ? keyboardDevice : mouseDevice;
    if (system == nullptr || made.device != nullptr) {
        return nullptr;
    }
    const GUID& which = kind == InputDeviceKind::Keyboard ? GUID_SysKeyboard : GUID_SysMouse;
    if (FAILED(system->directInput->CreateDevice(which, &made.device, nullptr))) {
        made.device = nullptr;
        return nullptr;
    }
    return &made;
}

bool InputSetCooperation(InputDevice* device, uint32_t flags) {
    return device != nullptr &&
           SUCCEEDED(device->device->SetCooperativeLevel(win32::GameWindow(), flags));
}

bool InputSetDataFormat(InputDevice* device) {
    if (device == nullptr) {
        return false;
    }
    const DIDATAFORMAT* format =
        device->kind == InputDeviceKind::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse;
    return SUCCEEDED(device->device->SetDataFormat(format));
}

bool InputAcquire(InputDevice* device) {
    return device != nullptr && SUCCEEDED(device->device->Acquire());
}

InputReadResult InputReadState(InputDevice* device, void* destination, uint32_t bytes) {
    if (device == nullptr) {
        return InputReadResult::Failed;
    }
    const HRESULT result = device->device->GetDeviceState(bytes, destination);
    if (SUCCEEDED(result)) {
        return InputReadResult::Ok;
    }
    // Taken by another program, unplugged, or never acquired: it answers so
    // until it is acquired again.
    return result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED ? InputReadResult::Lost
                                                                    : InputReadResult::Failed;
}

void InputUnacquire(InputDevice* device) {
    if (device != nullptr) {
        device->device->Unacquire();
    }
}

void InputReleaseDevice(InputDevice* device) {
    if (device != nullptr) {
        device->device->Release();
        device->device = nullptr;
    }
}

void InputRelease(InputSystem* system) {
    if (system != nullptr) {
        system->directInput->Release();
        system->directInput = nullptr;
    }
}

// Windows draws no keys of its own.
void InputKeysInUse(const uint8_t* /*scanCodes*/, uint32_t /*count*/) {}

}  // namespace korvane::platform
