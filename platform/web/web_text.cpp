// Counter text on the page: always the game's own stroke lettering
// (platform/common/memory_text.cpp), so every browser shows the same pixels.
#include "platform/common/drawn_face.h"
#include "platform/common/memory_backend.h"

namespace korvane::platform::backend {

const HostFace* FindHostFace(const char* /*name*/) {
    return nullptr;
}

std::unique_ptr<SizedFace> OpenHostFace(const HostFace& /*face*/, int32_t /*height*/,
                                        int32_t /*weight*/) {
    return nullptr;
}

}  // namespace korvane::platform::backend
