#include "platform/common/text_handles.h"

#include <algorithm>
#include <cstring>

namespace korvane::platform {

TextHandles textHandles;

namespace {

template <typename Pool>
auto* Take(Pool& pool) {
    auto free = std::find_if(pool.begin(), pool.end(), [](const auto& h) { return !h.held; });
    if (free == pool.end()) {
        return static_cast<typename Pool::value_type*>(nullptr);
    }
    *free = {};
    free->held = true;
    return &*free;
}

}  // namespace

TextContext* TextHandles::TakeContext(Surface* surface) {
    TextContext* context = surface != nullptr ? Take(contexts) : nullptr;
    if (context != nullptr) {
        context->surface = surface;
    }
    return context;
}

Font* TextHandles::TakeFont(int32_t height, int32_t weight, const char* face, DrawnFace* drawn) {
    Font* font = Take(fonts);
    if (font != nullptr) {
        *font = Font{true, height, weight, {}, drawn};
        std::strncpy(font->face.data(), face != nullptr ? face : "", font->face.size() - 1);
    }
    return font;
}

bool SurfaceReleaseTextContext(Surface* /*surface*/, TextContext* context) {
    if (!textHandles.Holds(context)) {
        return false;  // released twice, or never got
    }
    context->held = false;
    return true;
}

Font* TextFontSelect(TextContext* context, Font* font) {
    if (context == nullptr) {
        return nullptr;
    }
    Font* previous = context->font;
    context->font = font;
    return previous;
}

void TextFontDelete(Font* font) {
    if (textHandles.Holds(font)) {
        font->held = false;
    }
}

}  // namespace korvane::platform
