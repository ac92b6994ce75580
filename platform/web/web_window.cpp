// The browser's window: the page itself. Its queue holds only what the game
// posts (a page has no close message the game could act on: a closed tab
// runs nothing more); a message box is a modal box drawn over the page.
#include <emscripten.h>

#include "platform/common/memory_backend.h"
#include "platform/window.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(void, korvane_web_cursor_hidden, (int hidden), { KorvaneWeb.setCursorHidden(!!hidden); });
EM_JS(void, korvane_web_set_title, (const char* title), { document.title = UTF8ToString(title); });
// Waits for the box to be dismissed, the page running meanwhile.
EM_JS(void, korvane_web_message_box, (const char* text), {
    var words = UTF8ToString(text);
    Asyncify.handleSleep(function(wakeUp) { KorvaneWeb.showMessage(words, wakeUp); });
});
// NOLINTEND

}  // namespace

namespace korvane::platform {
namespace {

int cursorCount = 0;  // the cursor shows while this is 0 or more

}  // namespace

void WindowRegisterClass(const char* /*className*/, WindowProcedure procedure) {
    SetWindowProcedure(procedure);
}

void WindowCreate(const char* /*className*/, const char* title, int /*width*/, int /*height*/) {
    korvane_web_set_title(title);
}

void WindowShow() {}

void CursorShow(bool visible) {
    cursorCount += visible ? 1 : -1;
    korvane_web_cursor_hidden(cursorCount < 0 ? 1 : 0);
}

bool WindowPeekMessage(WindowMessage* message) {
    return TakePostedMessage(message);
}

void ShowMessageBox(const char* text) {
    korvane_web_message_box(text);
}

}  // namespace korvane::platform
