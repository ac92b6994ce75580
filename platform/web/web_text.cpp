// Counter text on the page: always the game's own stroke lettering, so every
// browser shows the same pixels. Each size and weight is opened once with the
// characters it has drawn kept; a frame's text is a few blends.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/common/drawn_face.h"
#include "platform/common/memory_surface.h"
#include "platform/common/text_handles.h"

namespace korvane::platform {
namespace {

struct OpenedFace {
    int32_t height = 0;
    int32_t weight = 0;
    std::unique_ptr<SizedFace> face;
};

std::vector<OpenedFace> faces;

SizedFace* FaceFor(int32_t height, int32_t weight) {
    const auto opened = std::find_if(faces.begin(), faces.end(), [&](const OpenedFace& f) {
        return f.height == height && f.weight == weight;
    });
    if (opened != faces.end()) {
        return opened->face.get();
    }
    std::unique_ptr<SizedFace> face = OpenBuiltInFace(height, weight);
    if (!face) {
        return nullptr;
    }
    faces.push_back({height, weight, std::move(face)});
    return faces.back().face.get();
}

}  // namespace

TextContext* SurfaceGetTextContext(Surface* surface) {
    return textHandles.TakeContext(surface);
}

Font* TextFontCreate(int32_t height, int32_t weight, const char* face) {
    SizedFace* sized = FaceFor(height != 0 ? height : kDefaultTextHeight, weight);
    return sized != nullptr ? textHandles.TakeFont(height, weight, face, sized) : nullptr;
}

bool TextDrawString(TextContext* context, const char* string, int32_t count, const Rect& box,
                    uint32_t format, uint32_t color) {
    if (!textHandles.CanDraw(context, string, count)) {
        return false;
    }
    // Before any font is selected the context writes in a plain face of the
    // default height.
    const Font* font = textHandles.FontOf(*context);
    SizedFace* drawn =
        font != nullptr ? static_cast<SizedFace*>(font->drawn) : FaceFor(kDefaultTextHeight, 400);
    if (drawn == nullptr) {
        return false;
    }
    DrawFaceText(*context->surface, *drawn, string, count, box, format, color);
    return true;
}

}  // namespace korvane::platform
