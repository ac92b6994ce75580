// The counters beside the well, written with a font made for each frame.
#include <cstdio>

#include "game/scoring.h"
#include "gfx/hud.h"
#include "gfx/playfield.h"
#include "gfx/video.h"

namespace korvane {

char playfieldText[kPlayfieldTextBytes] = {};

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kYellow = 0x0000FFFF;
constexpr int32_t kCounterHeight = -32;  // a character height of 32 pixels
constexpr int32_t kBold = 700;
constexpr const char* kCounterFace = "Impact";
constexpr uint32_t kCounterFormat =
    platform::kTextCenter | platform::kTextVerticalCenter | platform::kTextSingleLine;

struct Counter {
    const char* format;
    platform::Rect box;
    uint32_t color;
};
constexpr Counter kScore = {"%06u", {54, 161, 197, 193}, kWhite};
constexpr Counter kLevel = {"%02u", {102, 67, 151, 99}, kYellow};
constexpr Counter kLines = {"%02u", {90, 256, 162, 288}, kYellow};

void WriteCounter(platform::TextContext* context, const Counter& counter, uint32_t value) {
    int count = std::snprintf(playfieldText, sizeof playfieldText, counter.format, value);
    if (count < 0) {
        count = 0;
    } else if (count >= kPlayfieldTextBytes) {
        count = kPlayfieldTextBytes - 1;
    }
    TextDraw(context, playfieldText, count, counter.box, kCounterFormat, counter.color);
}

}  // namespace

int DrawHud() {
    const TextContextHandle context = VideoGetDC(videoDevice.backBuffer);
    if (!context) {
        return 1;
    }
    // Deliberate: the font is made and deleted again in every frame, so none
    // outlives the frame that drew with it. It goes before the context.
    const SelectedFont font(context.get(), kCounterHeight, kBold, kCounterFace);
    WriteCounter(context.get(), kScore, scoreCounters.score);
    WriteCounter(context.get(), kLevel, scoreCounters.level);
    WriteCounter(context.get(), kLines, scoreCounters.lines);
    return 1;
}

platform::Font* FontCreate(platform::TextContext* context, int32_t height, int32_t weight,
                           const char* face, platform::Font** previous) {
    platform::Font* font = platform::TextFontCreate(height, weight, face);
    *previous = platform::TextFontSelect(context, font);
    return font;
}

int FontDelete(platform::TextContext* context, platform::Font* font, platform::Font* previous) {
    platform::TextFontSelect(context, previous);
    platform::TextFontDelete(font);
    return 1;
}

int TextDraw(platform::TextContext* context, const char* text, int32_t count,
             const platform::Rect& box, uint32_t format, uint32_t color) {
    platform::TextDrawString(context, text, count, box, format, color);
    return 1;
}

}  // namespace korvane
