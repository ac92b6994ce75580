#pragma once
// The display: full-screen mode, the flipping chain, off-screen surfaces,
// locking, blits, fills and the text context of the counters.
namespace korvane::platform {}  // namespace korvane::platform
