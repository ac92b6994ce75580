#include "app/screen_keys.h"

#include <array>
#include <cstdint>
#include <span>

#include "input/key_map.h"
#include "platform/input_device.h"

namespace korvane {
namespace {

constexpr std::array<uint8_t, 4> kMainMenuKeys{kKeyN, kKeyR, kKeyG, kKeyE};
constexpr std::array<uint8_t, 3> kFileMenuKeys{kKeyL, kKeyS, kKeyB};
constexpr std::array<uint8_t, 5> kPlayKeys{kKeyEscape, kKeyUp, kKeyDown, kKeyLeft, kKeyRight};

std::span<const uint8_t> KeysOf(ScreenState state) {
    switch (state) {
        case ScreenState::MainMenu:
            return kMainMenuKeys;
        case ScreenState::FileMenu:
            return kFileMenuKeys;
        case ScreenState::Playing:
            return kPlayKeys;
        case ScreenState::Starting:
        case ScreenState::Quit:
        case ScreenState::GameOver:
        case ScreenState::Won:
            break;
    }
    return {};
}

}  // namespace

void TellKeysInUse(ScreenState state) {
    const std::span<const uint8_t> keys = KeysOf(state);
    platform::InputKeysInUse(keys.data(), static_cast<uint32_t>(keys.size()));
}

}  // namespace korvane
