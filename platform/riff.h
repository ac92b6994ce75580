#pragma once
// The RIFF reader used by the sound loader: open, descend, read, ascend, close.
namespace korvane::platform {}  // namespace korvane::platform
