#pragma once
// Fixed blocks of memory for the board, pictures and file buffers. Taking them
// through the seam lets a test make any one allocation fail.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace korvane::platform {

using MemoryBlock = std::unique_ptr<uint8_t[]>;

// A block of `bytes` bytes, not cleared, or an empty block when the memory
// cannot be had. `purpose` names the allocation ("board", "image", ...).
MemoryBlock AllocateBlock(size_t bytes, const char* purpose);

}  // namespace korvane::platform
