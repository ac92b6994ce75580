// The game's entry in the page: it runs as on every other machine (but that
// a file it opens may still be arriving), and when
// it ends (E on the main menu, or a start-up that failed) the page is told
// with the exit code, so it can say so and offer to start again.
#include <emscripten.h>

#include "platform/common/host_file.h"
#include "platform/game_entry.h"
#include "platform/web/web_shared.h"

namespace {

// NOLINTBEGIN: the page's side, in JavaScript
EM_JS(void, korvane_web_game_ended, (int exitCode), {
    if (Module.onGameEnded) {
        Module.onGameEnded(exitCode);
    }
});
// NOLINTEND

}  // namespace

int main() {
    // The page may still be bringing files in while the game starts.
    korvane::platform::SetHostFileWaiter(&korvane::platform::web::WaitForFile);
    const int exitCode = korvane::WinMain();
    korvane_web_game_ended(exitCode);
    return exitCode;
}
