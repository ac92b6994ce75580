#include "platform/sdl/sdl_controller.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/sdl/sdl_shared.h"

namespace korvane::platform::sdl {

namespace {

// Open controllers by SDL's instance id, not by pointer: SDL closes every
// controller when its subsystem stops at exit, and a remembered pointer
// would then dangle.
std::vector<SDL_JoystickID> openControllers;

constexpr uint8_t kDown = 0x80;
constexpr uint8_t kKeyEscape = 0x01;
constexpr uint8_t kKeyE = 0x12;
constexpr uint8_t kKeyR = 0x13;
constexpr uint8_t kKeyG = 0x22;
constexpr uint8_t kKeyB = 0x30;
constexpr uint8_t kKeyN = 0x31;
constexpr uint8_t kKeyUp = 0xC8;
constexpr uint8_t kKeyLeft = 0xCB;
constexpr uint8_t kKeyRight = 0xCD;
constexpr uint8_t kKeyDown = 0xD0;

struct ButtonKey {
    SDL_GameControllerButton button;
    uint8_t key;
};

// B is both Escape and B: the one "back" button leaves a game (Escape) and
// the file menu (B); no screen reads both keys, so neither acts twice.
constexpr ButtonKey kButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, kKeyUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kKeyDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kKeyLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kKeyRight},
    {SDL_CONTROLLER_BUTTON_A, kKeyUp},
    {SDL_CONTROLLER_BUTTON_B, kKeyEscape},
    {SDL_CONTROLLER_BUTTON_B, kKeyB},
    {SDL_CONTROLLER_BUTTON_START, kKeyN},
    {SDL_CONTROLLER_BUTTON_X, kKeyR},
    {SDL_CONTROLLER_BUTTON_Y, kKeyG},
    {SDL_CONTROLLER_BUTTON_BACK, kKeyE},
};

// The stick counts once it is pushed past half its travel, and then only
// along the axis pushed further: a stick held down and a little sideways
// drops the piece without also moving it (or, held up, turning it).
constexpr int kStickThreshold = 16384;

SDL_JoystickID InstanceId(SDL_GameController* controller) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
}

bool IsOpen(SDL_JoystickID id) {
    return std::find(openControllers.begin(), openControllers.end(), id) != openControllers.end();
}

void FollowPlugging() {
    std::erase_if(openControllers, [](SDL_JoystickID id) {
        SDL_GameController* controller = SDL_GameControllerFromInstanceID(id);
        if (controller != nullptr && SDL_GameControllerGetAttached(controller) == SDL_TRUE) {
            return false;
        }
        if (controller != nullptr) {
            SDL_GameControllerClose(controller);
        }
        return true;
    });
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        if (SDL_IsGameController(index) != SDL_TRUE ||
            IsOpen(SDL_JoystickGetDeviceInstanceID(index))) {
            continue;
        }
        SDL_GameController* controller = SDL_GameControllerOpen(index);
        if (controller != nullptr) {
            openControllers.push_back(InstanceId(controller));
        }
    }
}

uint8_t StickKey(SDL_GameController* controller) {
    const int x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    if (std::max(std::abs(x), std::abs(y)) <= kStickThreshold) {
        return 0;
    }
    if (std::abs(x) >= std::abs(y)) {
        return x < 0 ? kKeyLeft : kKeyRight;
    }
    return y < 0 ? kKeyUp : kKeyDown;
}

}  // namespace

bool StartControllers() {
    if (!StartSubsystems(SDL_INIT_GAMECONTROLLER)) {
        return false;
    }
    // The state is read when the keyboard is; events would only fill the
    // queue that the message loop empties one message at a time.
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
    return true;
}

void AddControllerKeys(uint8_t* snapshot) {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) {
        return;
    }
    // With joystick events ignored SDL no longer updates controllers on its
    // own; this also notices controllers plugged in or out.
    SDL_GameControllerUpdate();
    FollowPlugging();
    for (const SDL_JoystickID id : openControllers) {
        SDL_GameController* controller = SDL_GameControllerFromInstanceID(id);
        if (controller == nullptr) {
            continue;
        }
        for (const auto& [button, key] : kButtonKeys) {
            if (SDL_GameControllerGetButton(controller, button) != 0) {
                snapshot[key] = kDown;
            }
        }
        if (const uint8_t key = StickKey(controller); key != 0) {
            snapshot[key] = kDown;
        }
    }
}

void StopControllers() {
    for (const SDL_JoystickID id : openControllers) {
        if (SDL_GameController* controller = SDL_GameControllerFromInstanceID(id)) {
            SDL_GameControllerClose(controller);
        }
    }
    openControllers.clear();
}

}  // namespace korvane::platform::sdl
