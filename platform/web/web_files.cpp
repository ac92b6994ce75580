// The browser's files arrive while the game starts: the page writes each
// into the module's file system as it comes, and a file the game opens
// before it has come is waited for, the page going on meanwhile.
#include <emscripten.h>

#include "platform/web/web_shared.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(void, korvane_web_wait_for_file, (const char* hostPath), {
    var name = UTF8ToString(hostPath);
    if (KorvaneWeb.fileArriving(name)) {
        Asyncify.handleSleep(function(wakeUp) { KorvaneWeb.whenFileArrives(name, wakeUp); });
    }
});
// NOLINTEND

}  // namespace

namespace korvane::platform::web {

void WaitForFile(const char* hostPath) {
    korvane_web_wait_for_file(hostPath);
}

}  // namespace korvane::platform::web
