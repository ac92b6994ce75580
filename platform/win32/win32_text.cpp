// The Windows backend's counters text: a GDI font drawn through the back
// buffer's device context. The seam's text context is the device context
// itself and its font the GDI font.
#include "platform/win32/win32_display.h"

namespace korvane::platform {
namespace {

HDC ToDeviceContext(TextContext* context) {
    return reinterpret_cast<HDC>(context);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

}  // namespace

TextContext* SurfaceGetTextContext(Surface* surface) {
    HDC deviceContext = nullptr;
    if (surface == nullptr || win32::FoundLost(surface) ||
        FAILED(win32::AfterDrawingCall(surface->surface->GetDC(&deviceContext)))) {
        return nullptr;
    }
    return reinterpret_cast<TextContext*>(  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
        deviceContext);
}

bool SurfaceReleaseTextContext(Surface* surface, TextContext* context) {
    return surface != nullptr && SUCCEEDED(surface->surface->ReleaseDC(ToDeviceContext(context)));
}

Font* TextFontCreate(int32_t height, int32_t weight, const char* face) {
    HFONT font =
        CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_STROKE_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    return reinterpret_cast<Font*>(font);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
}

Font* TextFontSelect(TextContext* context, Font* font) {
    HGDIOBJ previous = SelectObject(ToDeviceContext(context),
                                    reinterpret_cast<HGDIOBJ>(font));  // NOLINT
    return static_cast<Font*>(previous);
}

void TextFontDelete(Font* font) {
    if (font != nullptr) {
        DeleteObject(reinterpret_cast<HGDIOBJ>(font));  // NOLINT
    }
}

bool TextDrawString(TextContext* context, const char* text, int32_t count, const Rect& box,
                    uint32_t format, uint32_t color) {
    // DrawTextA would take a count of -1 for "up to the terminating zero";
    // the seam draws exactly `count` characters, so a negative one is refused.
    if (text == nullptr || count < 0) {
        return false;
    }
    HDC deviceContext = ToDeviceContext(context);
    RECT rect{box.left, box.top, box.right, box.bottom};
    SetTextColor(deviceContext, color);
    SetBkMode(deviceContext, TRANSPARENT);
    // The answer is the text's height, 0 when nothing could be drawn.
    return DrawTextA(deviceContext, text, count, &rect, format) != 0 || count == 0;
}

// The seam's layout flags are DrawTextA's own.
static_assert(kTextCenter == DT_CENTER && kTextVerticalCenter == DT_VCENTER &&
              kTextSingleLine == DT_SINGLELINE);

}  // namespace korvane::platform
