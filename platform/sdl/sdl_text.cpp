// Counter text on the desktop: the face fontconfig finds closest to the one
// asked for, drawn by SDL2_ttf into the shared coverage masks
// (platform/common/memory_text.cpp); the game's own lettering where the
// machine has no scalable face at all.
#include "platform/common/memory_backend.h"
#include "platform/sdl/sdl_text_face.h"
#include "platform/sdl/sdl_text_font.h"

namespace korvane::platform::backend {

const HostFace* FindHostFace(const char* name) {
    return sdl::FindFontFace(name);
}

std::unique_ptr<SizedFace> OpenHostFace(const HostFace& face, int32_t height, int32_t weight) {
    return sdl::OpenTrueTypeFace(face, height, weight);
}

}  // namespace korvane::platform::backend
