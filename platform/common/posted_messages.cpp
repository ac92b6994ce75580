// The window queue's own part, where the host has no queue the game posts
// to: what the game posts waits here, ahead of the host's events, and
// dispatching calls the game's handler directly (memory_backend.h).
#include <cstdio>
#include <deque>

#include "platform/common/memory_backend.h"
#include "platform/window.h"

namespace korvane::platform {
namespace {

WindowProcedure windowProcedure = nullptr;
std::deque<WindowMessage> posted;

}  // namespace

void SetWindowProcedure(WindowProcedure procedure) {
    windowProcedure = procedure;
}

bool TakePostedMessage(WindowMessage* message) {
    if (posted.empty()) {
        return false;
    }
    *message = posted.front();
    posted.pop_front();
    return true;
}

intptr_t WindowDispatch(const WindowMessage& message) {
    return windowProcedure != nullptr ? windowProcedure(message) : 0;
}

intptr_t WindowDefaultProcedure(const WindowMessage& /*message*/) {
    return 0;
}

void PostQuitMessage(int exitCode) {
    posted.push_back({MessageKind::Quit, static_cast<uintptr_t>(exitCode)});
}

// Standard error reaches whoever started the game: a terminal, a log, or
// the page (which shows why a start-up failed) and its console.
void WriteErrorLine(const char* line) {
    std::fprintf(stderr, "%s\n", line);
}

}  // namespace korvane::platform
