// The input devices' promises: the version and settings the game asks for
// are taken, a snapshot fills every byte it is given: the keyboard's 256
// bytes each up (0) or down (0x80), nothing down while no key is pressed, and
// a device that is not acquired answers lost until it is acquired again.
#include <array>
#include <cstdint>

#include "tests/contract/contract_fixture.h"

namespace korvane::contract {
namespace {

TEST(InputTest, SnapshotsFillTheirWholeShape) {
    // Keys are read for the game's window, so it needs a display.
    MakeGameWindow();
    if (!platform::DisplayOpen()) {
        GTEST_SKIP() << "no display here (the desktop backend runs under Xvfb)";
    }
    platform::InputSystem* system = platform::InputCreate(0x0500);
    ASSERT_NE(system, nullptr);
    platform::InputDevice* keyboard =
        platform::InputCreateDevice(system, platform::InputDeviceKind::Keyboard);
    platform::InputDevice* mouse =
        platform::InputCreateDevice(system, platform::InputDeviceKind::Mouse);
    ASSERT_NE(keyboard, nullptr);
    ASSERT_NE(mouse, nullptr);
    for (platform::InputDevice* device : {keyboard, mouse}) {
        EXPECT_TRUE(platform::InputSetCooperation(
            device, platform::kInputShared | platform::kInputBackground));
        EXPECT_TRUE(platform::InputSetDataFormat(device));
        EXPECT_TRUE(platform::InputAcquire(device));
    }

    std::array<uint8_t, platform::kKeyboardStateBytes + 1> keys{};
    keys.fill(0x55);
    ASSERT_EQ(platform::InputReadState(keyboard, keys.data(), platform::kKeyboardStateBytes),
              platform::InputReadResult::Ok);
    for (uint32_t code = 0; code < platform::kKeyboardStateBytes; ++code) {
        EXPECT_EQ(keys[code], 0) << "key " << code << " is not pressed";
    }
    EXPECT_EQ(keys.back(), 0x55) << "nothing is written past the snapshot";

    std::array<uint8_t, platform::kMouseStateBytes> buttons{};
    buttons.fill(0x55);
    ASSERT_EQ(platform::InputReadState(mouse, buttons.data(), platform::kMouseStateBytes),
              platform::InputReadResult::Ok);
    for (uint32_t at = 12; at < platform::kMouseStateBytes; ++at) {
        EXPECT_EQ(buttons[at], 0) << "button " << at - 12 << " is up";
    }

    // A device no longer acquired is lost, not broken, until it is acquired
    // again (a backend whose devices cannot go away reads on).
    platform::InputUnacquire(keyboard);
    EXPECT_NE(platform::InputReadState(keyboard, keys.data(), platform::kKeyboardStateBytes),
              platform::InputReadResult::Failed);
    ASSERT_TRUE(platform::InputAcquire(keyboard));
    EXPECT_EQ(platform::InputReadState(keyboard, keys.data(), platform::kKeyboardStateBytes),
              platform::InputReadResult::Ok);

    for (platform::InputDevice* device : {mouse, keyboard}) {
        platform::InputUnacquire(device);
        platform::InputReleaseDevice(device);
    }
    platform::InputRelease(system);
    platform::DisplayClose();
}

}  // namespace
}  // namespace korvane::contract
