#pragma once

#include <cstdint>
#include <vector>

#include "tools/artgen/encode.h"

namespace korvane::artgen {

// A Windows .ico file holding the picture as one 256-colour image: the
// colours of its opaque pixels as the palette (rounded to a 6-7-6 colour cube
// when there are more than 256), and a transparency mask where alpha is
// below half. The picture must be RGBA, at most 256 pixels on a side.
std::vector<std::uint8_t> EncodeIco(const Pixels& rgba);

}  // namespace korvane::artgen
