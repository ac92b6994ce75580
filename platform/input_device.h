#pragma once
// The keyboard and mouse devices and their snapshots.
namespace korvane::platform {}  // namespace korvane::platform
