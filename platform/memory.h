#pragma once
// Fixed blocks of memory for the board, pictures and file buffers. Taking them
// through the seam lets a test make any one allocation fail.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace korvane::platform {

struct BlockReleaser {
    void operator()(uint8_t* block) const;  // defined by the backend, beside its allocation
};
// A block, given back to the heap it came from when it goes out of scope.
using MemoryBlock = std::unique_ptr<uint8_t[], BlockReleaser>;

// A block of `bytes` bytes, not cleared, or an empty block when the memory
// cannot be had. `purpose` names the allocation ("board", "image", ...).
MemoryBlock AllocateBlock(size_t bytes, const char* purpose);

}  // namespace korvane::platform
