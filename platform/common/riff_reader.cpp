#include "platform/common/riff_reader.h"

#include <algorithm>

#include "platform/little_endian.h"

namespace korvane::platform {
namespace {

constexpr uint32_t kRiffId = FourCc("RIFF");
constexpr uint64_t kHeaderBytes = 8;

// Where the chunk whose header starts at `offset` ends, pad byte included.
// Sizes are 32-bit but the sum is not, so the walk works in 64 bits.
uint64_t ChunkEnd(uint64_t offset, uint32_t size) {
    return offset + kHeaderBytes + size + (size & 1U);
}

}  // namespace

std::unique_ptr<RiffReader> RiffReader::Open(const char* gamePath) {
    File file = FileOpen(gamePath);
    uint32_t size = 0;
    if (!file || !FileSize(*file, &size)) {
        return nullptr;
    }
    return std::unique_ptr<RiffReader>(new RiffReader(std::move(file), size));
}

bool RiffReader::ReadHeaderAt(uint64_t offset, uint8_t* header, uint32_t bytes) {
    if (offset + bytes > size_ || !FileSeek(*file_, static_cast<uint32_t>(offset))) {
        return false;
    }
    uint32_t got = 0;
    return FileRead(*file_, header, bytes, &got) && got == bytes;
}

bool RiffReader::DescendForm(uint32_t formType, RiffChunk* form) {
    uint64_t offset = FileTell(*file_);
    uint8_t header[12];
    // Every turn moves on by at least one header, so the walk ends.
    while (ReadHeaderAt(offset, header, sizeof header)) {
        const uint32_t id = ReadLe32(header);
        const uint32_t size = ReadLe32(header + 4);
        if (id == kRiffId && ReadLe32(header + 8) == formType) {
            *form = RiffChunk{id, size, formType, static_cast<uint32_t>(offset + kHeaderBytes)};
            return true;  // the position is already just after the form type
        }
        offset = ChunkEnd(offset, size);
    }
    return false;
}

bool RiffReader::DescendChunk(uint32_t id, const RiffChunk& parent, RiffChunk* chunk) {
    const uint64_t parentEnd = std::min<uint64_t>(
        static_cast<uint64_t>(parent.dataOffset) + parent.size, static_cast<uint64_t>(size_));
    uint64_t offset = FileTell(*file_);
    uint8_t header[kHeaderBytes];
    while (offset + kHeaderBytes <= parentEnd && ReadHeaderAt(offset, header, sizeof header)) {
        const uint32_t size = ReadLe32(header + 4);
        if (ReadLe32(header) == id) {
            *chunk = RiffChunk{id, size, 0, static_cast<uint32_t>(offset + kHeaderBytes)};
            return true;
        }
        offset = ChunkEnd(offset, size);
    }
    return false;
}

bool RiffReader::Read(void* destination, uint32_t bytes, uint32_t* bytesRead) {
    return FileRead(*file_, destination, bytes, bytesRead);
}

bool RiffReader::Ascend(const RiffChunk& chunk) {
    uint64_t end = static_cast<uint64_t>(chunk.dataOffset) + chunk.size;
    if (end == size_ && (chunk.size & 1U) != 0) {
        // A last chunk of odd size often lacks its pad byte; its end is the file's.
        return FileSeek(*file_, size_);
    }
    end += chunk.size & 1U;
    return end <= size_ && FileSeek(*file_, static_cast<uint32_t>(end));
}

}  // namespace korvane::platform
