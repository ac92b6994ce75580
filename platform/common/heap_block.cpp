#include "platform/common/heap_block.h"

#include <new>

namespace korvane::platform {

void BlockReleaser::operator()(uint8_t* block) const {
    delete[] block;  // NOLINT(cppcoreguidelines-owning-memory): the handle's own release
}

MemoryBlock HeapAllocate(size_t bytes) {
    return MemoryBlock(new (std::nothrow) uint8_t[bytes == 0 ? 1 : bytes]);
}

}  // namespace korvane::platform
