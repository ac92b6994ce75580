#pragma once
// The keyboard scan codes the game tests, as the keyboard snapshot is indexed
// (input_device.h): the set-1 codes, the cursor block and the keys right of
// Alt among the extended ones (0x80 and up). The game names its keys by
// these (input/key_map.h), and the backends set them from the host's keys and
// game controllers.
#include <cstdint>

namespace korvane {

inline constexpr uint8_t kKeyEscape = 0x01;
inline constexpr uint8_t kKeyE = 0x12;
inline constexpr uint8_t kKeyR = 0x13;
inline constexpr uint8_t kKeyS = 0x1F;
inline constexpr uint8_t kKeyG = 0x22;
inline constexpr uint8_t kKeyL = 0x26;
inline constexpr uint8_t kKeyB = 0x30;
inline constexpr uint8_t kKeyN = 0x31;
inline constexpr uint8_t kKeyUp = 0xC8;
inline constexpr uint8_t kKeyLeft = 0xCB;
inline constexpr uint8_t kKeyRight = 0xCD;
inline constexpr uint8_t kKeyDown = 0xD0;

// What a backend writes into the snapshot for a key held.
inline constexpr uint8_t kKeyHeld = 0x80;

}  // namespace korvane
