// A game controller plays through the keyboard snapshot of the desktop
// backend. SDL's virtual joysticks stand in for the hardware, plugged in and
// out while the input system runs. No device is needed; the input system
// wants a window system, so the program runs on a private Xvfb screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/input_device.h"

namespace korvane::platform {
namespace {

using Snapshot = std::array<uint8_t, kKeyboardStateBytes>;

constexpr uint8_t kEscape = 0x01;
constexpr uint8_t kE = 0x12;
constexpr uint8_t kR = 0x13;
constexpr uint8_t kG = 0x22;
constexpr uint8_t kB = 0x30;
constexpr uint8_t kN = 0x31;
constexpr uint8_t kUp = 0xC8;
constexpr uint8_t kLeft = 0xCB;
constexpr uint8_t kRight = 0xCD;
constexpr uint8_t kDown = 0xD0;

// A virtual controller with every button and axis of SDL's standard layout,
// unplugged when it goes out of scope.
class VirtualPad {
  public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "KORVANE test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index >= 0) {
            joystick_ = SDL_JoystickOpen(index);
        }
    }
    ~VirtualPad() { Unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Plugged() const { return joystick_ != nullptr; }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
    }
    void Stick(int16_t x, int16_t y) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, y);
    }
    void Unplug() {
        if (joystick_ == nullptr) {
            return;
        }
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == id) {
                SDL_JoystickDetachVirtual(index);
                return;
            }
        }
    }

  private:
    SDL_Joystick* joystick_ = nullptr;
};

class ControllerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        system_ = InputCreate(0x0500);
        ASSERT_NE(system_, nullptr) << SDL_GetError();
        keyboard_ = InputCreateDevice(system_, InputDeviceKind::Keyboard);
        ASSERT_NE(keyboard_, nullptr);
        ASSERT_TRUE(InputAcquire(keyboard_));
    }
    static void TearDownTestSuite() {
        InputUnacquire(keyboard_);
        InputReleaseDevice(keyboard_);
        InputRelease(system_);
    }

    // The keys down in a fresh snapshot, as a readable list ("c8 d0").
    static std::string KeysDown() {
        Snapshot snapshot;
        snapshot.fill(0xEE);
        EXPECT_EQ(InputReadState(keyboard_, snapshot.data(), kKeyboardStateBytes),
                  InputReadResult::Ok);
        std::string down;
        for (std::size_t code = 0; code < snapshot.size(); ++code) {
            if (snapshot[code] == 0x80) {
                down += (down.empty() ? "" : " ") + Hex(static_cast<uint8_t>(code));
            } else if (snapshot[code] != 0) {
                down += " bad byte at " + Hex(static_cast<uint8_t>(code));
            }
        }
        return down;
    }
    static std::string Keys(std::initializer_list<uint8_t> codes) {
        std::string keys;
        for (const uint8_t code : codes) {
            keys += (keys.empty() ? "" : " ") + Hex(code);
        }
        return keys;
    }
    static std::string Hex(uint8_t code) {
        const char* digits = "0123456789abcdef";
        return {digits[code >> 4], digits[code & 15]};
    }

    static InputSystem* system_;
    static InputDevice* keyboard_;
};

InputSystem* ControllerTest::system_ = nullptr;
InputDevice* ControllerTest::keyboard_ = nullptr;

TEST_F(ControllerTest, EveryControlSetsTheKeysItStandsFor) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    EXPECT_EQ(KeysDown(), "") << "a controller at rest presses nothing";

    struct Case {
        SDL_GameControllerButton button;
        std::string keys;
    };
    const Case buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, Keys({kUp})},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, Keys({kDown})},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, Keys({kLeft})},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Keys({kRight})},
        {SDL_CONTROLLER_BUTTON_A, Keys({kUp})},
        {SDL_CONTROLLER_BUTTON_B, Keys({kEscape, kB})},
        {SDL_CONTROLLER_BUTTON_START, Keys({kN})},
        {SDL_CONTROLLER_BUTTON_X, Keys({kR})},
        {SDL_CONTROLLER_BUTTON_Y, Keys({kG})},
        {SDL_CONTROLLER_BUTTON_BACK, Keys({kE})},
        {SDL_CONTROLLER_BUTTON_GUIDE, ""},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, ""},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, ""},
    };
    for (const Case& c : buttons) {
        pad.Button(c.button, true);
        EXPECT_EQ(KeysDown(), c.keys)
            << "button " << SDL_GameControllerGetStringForButton(c.button);
        pad.Button(c.button, false);
        EXPECT_EQ(KeysDown(), "") << "released " << SDL_GameControllerGetStringForButton(c.button);
    }

    // Several controls at once add up; a key held twice is still one key.
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(KeysDown(), Keys({kUp, kLeft}));
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);

    struct Push {
        int16_t x;
        int16_t y;
        std::string keys;
    };
    const Push pushes[] = {
        {-32768, 0, Keys({kLeft})},
        {32767, 0, Keys({kRight})},
        {0, -32768, Keys({kUp})},
        {0, 32767, Keys({kDown})},
        {16384, 0, ""},                   // half way is not yet a push
        {16385, -16385, Keys({kRight})},  // equal push: sideways wins
        {-9000, 30000, Keys({kDown})},    // down and a little left: down alone
        {-30000, -20000, Keys({kLeft})},  // left and up: left alone
        {12000, -12000, ""},              // a small push each way is nothing
    };
    for (const Push& push : pushes) {
        pad.Stick(push.x, push.y);
        EXPECT_EQ(KeysDown(), push.keys) << "stick at " << push.x << ", " << push.y;
    }
    pad.Stick(0, 0);
    EXPECT_EQ(KeysDown(), "");
}

TEST_F(ControllerTest, ControllersComeAndGoWhileTheGameRuns) {
    EXPECT_EQ(KeysDown(), "");
    {
        VirtualPad first;
        VirtualPad second;
        ASSERT_TRUE(first.Plugged() && second.Plugged()) << SDL_GetError();
        first.Button(SDL_CONTROLLER_BUTTON_START, true);
        second.Stick(0, 32767);
        EXPECT_EQ(KeysDown(), Keys({kN, kDown})) << "two controllers play at once";

        // A controller pulled out with a button held lets go of its key.
        first.Unplug();
        EXPECT_EQ(KeysDown(), Keys({kDown}));

        VirtualPad third;
        ASSERT_TRUE(third.Plugged());
        third.Button(SDL_CONTROLLER_BUTTON_Y, true);
        EXPECT_EQ(KeysDown(), Keys({kG, kDown})) << "a controller plugged in later plays at once";
    }
    EXPECT_EQ(KeysDown(), "") << "nothing stays down once every controller is gone";

    VirtualPad again;
    ASSERT_TRUE(again.Plugged());
    again.Button(SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_EQ(KeysDown(), Keys({kR}));
}

}  // namespace
}  // namespace korvane::platform
