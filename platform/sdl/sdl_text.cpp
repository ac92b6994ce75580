// Counter text on the SDL display. The game makes and deletes its font and
// its text context in every frame; both are handles into fixed pools
// (platform/common/text_handles.h), and each face is opened once per size and weight with the
// characters it has drawn kept, so a frame's text is a few blends and no allocation.
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/drawn_face.h"
#include "platform/common/memory_surface.h"
#include "platform/common/text_handles.h"
#include "platform/sdl/sdl_text_face.h"
#include "platform/sdl/sdl_text_font.h"

namespace korvane::platform {

namespace {

// A face as asked for: the file found (empty for the built-in lettering) at
// one height and weight.
struct OpenedFace {
    const sdl::FontFace* found = nullptr;
    int32_t height = 0;
    int32_t weight = 0;
    std::unique_ptr<SizedFace> face;
};

std::vector<OpenedFace> faces;

SizedFace* FaceFor(int32_t height, int32_t weight, const char* name) {
    const sdl::FontFace* found = sdl::FindFontFace(name != nullptr ? name : "");
    for (const OpenedFace& opened : faces) {
        if (opened.found == found && opened.height == height && opened.weight == weight) {
            return opened.face.get();
        }
    }
    std::unique_ptr<SizedFace> face = found != nullptr
                                          ? sdl::OpenTrueTypeFace(*found, height, weight)
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
