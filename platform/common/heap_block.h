#pragma once
// Memory blocks from the C++ heap, for the backends whose host has no heap of
// its own for the game to take fixed blocks from.
#include <cstddef>

#include "platform/memory.h"

namespace korvane::platform {

// A block of `bytes` bytes (at least one), empty when none can be had.
MemoryBlock HeapAllocate(size_t bytes);

}  // namespace korvane::platform
