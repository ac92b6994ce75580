// Counter text drawn in memory. The game makes and deletes its font and its
// text context in every frame; both are handles into fixed pools
// (text_handles.h), and each face is opened once per size and weight with the
// characters it has drawn kept, so a frame's text is a few blends and no
// allocation. The backend names the host's face, if it has any
// (memory_backend.h); otherwise the game's own lettering writes.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/common/drawn_face.h"
#include "platform/common/memory_backend.h"
#include "platform/common/text_handles.h"

namespace korvane::platform {
namespace {

// A face as asked for: the host's face found (null for the built-in
// lettering) at one height and weight.
struct OpenedFace {
    const HostFace* found = nullptr;
    int32_t height = 0;
    int32_t weight = 0;
    std::unique_ptr<SizedFace> face;
};

std::vector<OpenedFace> faces;

SizedFace* FaceFor(int32_t height, int32_t weight, const char* name) {
    const HostFace* found = backend::FindHostFace(name != nullptr ? name : "");
    const auto opened = std::find_if(faces.begin(), faces.end(), [&](const OpenedFace& f) {
        return f.found == found && f.height == height && f.weight == weight;
    });
    if (opened != faces.end()) {
        return opened->face.get();
    }
    std::unique_ptr<SizedFace> face = found != nullptr
                                          ? backend::OpenHostFace(*found, height, weight)
                                          : OpenBuiltInFace(height, weight);
    if (!face) {
        return nullptr;
    }
    faces.push_back({found, height, weight, std::move(face)});
    return faces.back().face.get();
}

}  // namespace

TextContext* SurfaceGetTextContext(Surface* surface) {
    return textHandles.TakeContext(surface);
}

Font* TextFontCreate(int32_t height, int32_t weight, const char* face) {
    SizedFace* sized = FaceFor(height != 0 ? height : kDefaultTextHeight, weight, face);
    return sized != nullptr ? textHandles.TakeFont(height, weight, face, sized) : nullptr;
}

bool TextDrawString(TextContext* context, const char* string, int32_t count, const Rect& box,
                    uint32_t format, uint32_t color) {
    if (!textHandles.CanDraw(context, string, count)) {
        return false;
    }
    // Before any font is selected the context writes in a plain face of the
    // default height, as a fresh context does on any desktop.
    const Font* font = textHandles.FontOf(*context);
    SizedFace* drawn = font != nullptr ? static_cast<SizedFace*>(font->drawn)
                                       : FaceFor(kDefaultTextHeight, 400, nullptr);
    if (drawn == nullptr) {
        return false;
    }
    DrawFaceText(*context->surface, *drawn, string, count, box, format, color);
    return true;
}

}  // namespace korvane::platform
