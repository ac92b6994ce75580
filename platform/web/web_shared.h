#pragma once
// What the browser backend's files share.
#include <cstdint>

namespace korvane::platform {
struct Surface;
}

namespace korvane::platform::web {

// Shows the rectangle (x, y, w, h) of a 5-6-5 surface the size of the
// picture on the page's canvas at once.
void Present(const Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h);

// Milliseconds on the page's clock (performance.now()), with its fraction.
double PageNowMs();

// Returns once the game's file `hostPath` has arrived in the module's file
// system, or will not (the game's own open then finds it or not).
void WaitForFile(const char* hostPath);

}  // namespace korvane::platform::web
