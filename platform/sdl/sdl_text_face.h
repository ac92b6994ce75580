#pragma once
// The desktop's scalable faces, drawn as the shared coverage masks
// (platform/common/drawn_face.h).
#include <memory>

#include "platform/common/drawn_face.h"

namespace korvane::platform {
struct HostFace;
}

namespace korvane::platform::sdl {

using FontFace = HostFace;

// `face` (a file fontconfig found) at `height` (negative: the character
// height) and `weight`; null when the file cannot be opened as a font.
std::unique_ptr<platform::SizedFace> OpenTrueTypeFace(const FontFace& face, int height, int weight);

}  // namespace korvane::platform::sdl
