#pragma once
// Text contexts and fonts of the memory-drawing backends: handles taken from
// fixed pools and given back, so a game that makes and deletes its font and
// its context every frame allocates nothing. The seam's release, select and
// delete calls are defined here on the one set of handles.
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/display.h"

namespace korvane::platform {

// What a backend draws a font's letters with; null where it keeps nothing.
class DrawnFace {
  public:
    virtual ~DrawnFace() = default;
};

struct Font {
    bool held = false;
    int32_t height = 0;
    int32_t weight = 0;
    std::array<char, 32> face{};  // the name asked for, cut to fit
    DrawnFace* drawn = nullptr;
};

struct TextContext {
    bool held = false;
    Surface* surface = nullptr;
    Font* font = nullptr;  // null until one is selected
};

// The height of a font asked for with height 0, and of the letters a context
// writes before any font is selected into it.
inline constexpr int32_t kDefaultTextHeight = 10;

// Whether `handle` is one of `pool`'s and held.
template <typename Pool, typename Handle>
bool Held(const Pool& pool, const Handle* handle) {
    return std::any_of(pool.begin(), pool.end(),
                       [handle](const auto& h) { return &h == handle && h.held; });
}

struct TextHandles {
    std::array<TextContext, 16> contexts{};  // more than the game ever holds at once
    std::array<Font, 16> fonts{};

    // Null without a surface or when every handle is held.
    TextContext* TakeContext(Surface* surface);
    Font* TakeFont(int32_t height, int32_t weight, const char* face, DrawnFace* drawn);
    bool Holds(const TextContext* context) const { return Held(contexts, context); }
    bool Holds(const Font* font) const { return Held(fonts, font); }
    // A held context, a string and a count that is not negative; zero
    // characters draw nothing and succeed.
    bool CanDraw(const TextContext* context, const char* text, int32_t count) const {
        return Holds(context) && text != nullptr && count >= 0;
    }
    // The context's font while it is alive; null for none.
    const Font* FontOf(const TextContext& context) const {
        return Holds(context.font) ? context.font : nullptr;
    }
};

extern TextHandles textHandles;

}  // namespace korvane::platform
