#include "platform/common/controller_map.h"

#include <cmath>

#include "platform/scan_codes.h"

namespace korvane::platform {
namespace {

// The stick counts once it is pushed past half its travel, and then only
// along the axis pushed further: a stick held down and a little sideways
// drops the piece without also moving it (or, held up, turning it).
constexpr double kStickThreshold = 0.5;

uint8_t StickKey(double x, double y) {
    if (std::fmax(std::fabs(x), std::fabs(y)) <= kStickThreshold) {
        return 0;
    }
    if (std::fabs(x) >= std::fabs(y)) {
        return x < 0 ? kKeyLeft : kKeyRight;
    }
    return y < 0 ? kKeyUp : kKeyDown;
}

struct PadButtonKey {
    PadButton button;
    uint8_t key;
};

// B is both Escape and B: the one "back" button leaves a game (Escape) and
// the file menu (B); no screen reads both keys, so neither acts twice.
constexpr PadButtonKey kPadButtonKeys[] = {
    {PadButton::Up, kKeyUp},       {PadButton::Down, kKeyDown}, {PadButton::Left, kKeyLeft},
    {PadButton::Right, kKeyRight}, {PadButton::A, kKeyUp},      {PadButton::B, kKeyEscape},
    {PadButton::B, kKeyB},         {PadButton::Start, kKeyN},   {PadButton::X, kKeyR},
    {PadButton::Y, kKeyG},         {PadButton::Back, kKeyE},
};

}  // namespace

void AddPadKeys(const PadState& pad, uint8_t* snapshot) {
    for (const auto& [button, key] : kPadButtonKeys) {
        if ((pad.held >> static_cast<unsigned>(button) & 1U) != 0) {
            snapshot[key] = kKeyHeld;
        }
    }
    if (const uint8_t key = StickKey(pad.x, pad.y); key != 0) {
        snapshot[key] = kKeyHeld;
    }
}

}  // namespace korvane::platform
