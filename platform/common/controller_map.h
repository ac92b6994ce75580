#pragma once
// Game controllers played as the keyboard: a controller's buttons and left
// stick set the same snapshot bytes as the keys they stand for, so the game
// cannot tell them apart. One map for every backend; each reads its host's
// controllers into a PadState and hands it here.
//   pad or left stick: the arrows     A: Up (turn)
//   B: Escape and B (back, in play and in the file menu)
//   Start: N   X: R   Y: G   Back: E
#include <cstdint>

namespace korvane::platform {

// Buttons by their place in the standard controller layout, the one both the
// browsers' Gamepad API ("standard" mapping) and SDL's controller database
// follow.
enum class PadButton : uint8_t { A, B, X, Y, Back = 8, Start, Up = 12, Down, Left, Right };

struct PadState {
    uint32_t held = 0;  // bit n: the button at place n held
    double x = 0;       // the left stick, -1 (left) to 1 (right)
    double y = 0;       // -1 (up) to 1 (down)

    void Hold(PadButton button) { held |= 1U << static_cast<unsigned>(button); }
};

// Marks kKeyHeld for every key the held controls of `pad` stand for; keys
// already down stay down.
void AddPadKeys(const PadState& pad, uint8_t* snapshot);

}  // namespace korvane::platform
