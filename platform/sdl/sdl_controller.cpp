#include "platform/sdl/sdl_controller.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/common/controller_map.h"
#include "platform/sdl/sdl_shared.h"

namespace korvane::platform::sdl {

namespace {

// Open controllers by SDL's instance id, not by pointer: SDL closes every
// controller when its subsystem stops at exit, and a remembered pointer
// would then dangle.
std::vector<SDL_JoystickID> openControllers;

// SDL's buttons at their places in the standard layout (controller_map.h).
constexpr std::pair<SDL_GameControllerButton, PadButton> kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PadButton::A},
    {SDL_CONTROLLER_BUTTON_B, PadButton::B},
    {SDL_CONTROLLER_BUTTON_X, PadButton::X},
    {SDL_CONTROLLER_BUTTON_Y, PadButton::Y},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadButton::Up},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PadButton::Down},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::Left},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::Right},
};

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

PadState ReadPad(SDL_GameController* controller) {
    PadState pad;
    for (const auto& [sdlButton, button] : kButtons) {
        if (SDL_GameControllerGetButton(controller, sdlButton) != 0) {
            pad.Hold(button);
        }
    }
    // Full travel is 32768 either way (32767 to the right and down).
    pad.x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX) / 32768.0;
    pad.y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY) / 32768.0;
    return pad;
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
        AddPadKeys(ReadPad(controller), snapshot);
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
