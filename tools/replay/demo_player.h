#pragma once
// A simple player for the built-in demo: it picks a place for each falling
// piece and holds the arrow keys that take it there.
#include <cstdint>

namespace korvane::replay {

// The key the player holds down in this frame (a scan code), or 0 for none.
// Looks at the board and the falling piece; call once per play frame.
uint8_t DemoPlayerKey();

// Forgets the piece the player was placing (call at a new game).
void DemoPlayerReset();

}  // namespace korvane::replay
