// The Windows backend loses its surfaces when the game's window stops being
// the active application's; the message that says so is sent to it directly,
// as Windows sends it when another program comes in front.
#include "platform/win32/win32_shared.h"
#include "tests/contract/contract_fixture.h"

namespace korvane::contract {

bool TakeScreenAway() {
    SendMessageA(platform::win32::GameWindow(), WM_ACTIVATEAPP, FALSE, 0);
    return true;
}

void GiveScreenBack() {
    SendMessageA(platform::win32::GameWindow(), WM_ACTIVATEAPP, TRUE, 0);
}

}  // namespace korvane::contract
