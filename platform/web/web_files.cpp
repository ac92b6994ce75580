// The browser's files arrive while the game starts: the page writes each
// into the module's file system as it comes, and a file the game opens
// before it has come is waited for, the page going on meanwhile.
#include <emscripten.h>

#include "platform/web/web_shared.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
// A wait that has slept is called again as the game's stack is rewound, and
// must then go through the sleep's end even though the file is there.
// clang-format off
EM_JS(void, korvane_web_wait_for_file, (const char* hostPath), {
    var name = UTF8ToString(hostPath);
    if (Asyncify.state !== Asyncify.State.Normal || KorvaneWeb.fileArriving(name)) {
        Asyncify.handleSleep(function(wakeUp) { KorvaneWeb.whenFileArrives(name, wakeUp); });
    }
});
// clang-format on
// NOLINTEND

}  // namespace

namespace korvane::platform::web {

void WaitForFile(const char* hostPath) {
    korvane_web_wait_for_file(hostPath);
}

}  // namespace korvane::platform::web
