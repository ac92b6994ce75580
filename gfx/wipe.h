#pragma once
// The wipe: the finished back buffer is carried onto the visible screen one
// strip at a time, about 30 ms apart, so the new picture sweeps over the old.
#include <cstdint>

namespace korvane {

inline constexpr uint32_t kWipeColumns = 0;  // columns, left to right
inline constexpr uint32_t kWipeRows = 1;     // rows, top to bottom

// Picks the direction from the clock's parity: even sweeps columns of 6, odd
// rows of 4. 1 when the whole screen was copied, 0 when a strip failed.
int WipeTransition();
// Sweeps strips `step` pixels wide (the first one takes the remainder) in
// `direction`; 0 when a strip copy fails or the direction is unknown.
int WipeStrips(uint32_t step, uint32_t direction);

}  // namespace korvane
