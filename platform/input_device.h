#pragma once
// The keyboard and mouse devices and their snapshots. The game reads the
// keyboard as a whole: 256 bytes indexed by its scan codes (Escape 0x01,
// the cursor-block arrows 0xC8, 0xCB, 0xCD, 0xD0, ...), non-zero while down.
#include <cstdint>
#include <memory>

namespace korvane::platform {

struct InputSystem;  // defined by the backend
struct InputDevice;  // defined by the backend

enum class InputDeviceKind : uint8_t { Keyboard, Mouse };

// Share the device with other programs and read it whether or not the game
// window is active.
inline constexpr uint32_t kInputShared = 0x02;
inline constexpr uint32_t kInputBackground = 0x08;

inline constexpr uint32_t kKeyboardStateBytes = 256;
inline constexpr uint32_t kMouseStateBytes = 16;  // x, y, z movement (int32), four buttons

// The input system of the given interface version; null on failure.
InputSystem* InputCreate(uint32_t version);
// One device of the system; null on failure.
InputDevice* InputCreateDevice(InputSystem* system, InputDeviceKind kind);
bool InputSetCooperation(InputDevice* device, uint32_t flags);
// Selects the standard snapshot layout of the device's kind.
bool InputSetDataFormat(InputDevice* device);
bool InputAcquire(InputDevice* device);

// How a read went. A device is lost when it is no longer acquired: another
// program took it, it was unplugged, or it was unacquired. It stays lost,
// every read answering so, until InputAcquire succeeds again.
enum class InputReadResult : uint8_t { Ok, Lost, Failed };
// Copies the device's snapshot (kKeyboardStateBytes or kMouseStateBytes).
// When it fails the destination may have been changed or not.
InputReadResult InputReadState(InputDevice* device, void* destination, uint32_t bytes);
void InputUnacquire(InputDevice* device);
// The keys the screen now shown acts on, told whenever the screen changes,
// for a backend that draws keys of its own (the browser's on-screen buttons
// on a touch screen). The keyboard itself is read as a whole regardless.
void InputKeysInUse(const uint8_t* scanCodes, uint32_t count);
void InputReleaseDevice(InputDevice* device);
void InputRelease(InputSystem* system);

// A device unacquired and released when it goes out of scope (unacquiring a
// device that was never acquired does nothing).
struct InputDeviceReleaser {
    void operator()(InputDevice* device) const {
        InputUnacquire(device);
        InputReleaseDevice(device);
    }
};
using InputDeviceHandle = std::unique_ptr<InputDevice, InputDeviceReleaser>;

// The input system, released when it goes out of scope; its devices go first.
struct InputSystemReleaser {
    void operator()(InputSystem* system) const { InputRelease(system); }
};
using InputSystemHandle = std::unique_ptr<InputSystem, InputSystemReleaser>;

}  // namespace korvane::platform
