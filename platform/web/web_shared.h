#pragma once
// What the browser backend's files share.
#include <cstdint>

namespace korvane::platform::web {

// Milliseconds on the page's clock (performance.now()), with its fraction.
double PageNowMs();

// Returns once the game's file `hostPath` has arrived in the module's file
// system, or will not (the game's own open then finds it or not).
void WaitForFile(const char* hostPath);

}  // namespace korvane::platform::web
