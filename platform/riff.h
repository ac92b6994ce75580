#pragma once
// The RIFF reader used by the sound loader: open, descend, read, ascend, close.
// It follows the published RIFF rules: chunk sizes are padded to even, every
// search runs forward from the current position, a sub-chunk is looked for
// only inside its parent, and nothing outside the file is ever read.
#include <cstdint>
#include <memory>

namespace korvane::platform {

// Four-character codes as they appear in the file, first letter lowest.
constexpr uint32_t FourCc(const char (&code)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

// What a descent found: the chunk's id and declared data size, the form type
// of a "RIFF" or "LIST" chunk, and the file offset where its data begins
// (for a form, where the form type begins).
struct RiffChunk {
    uint32_t id = 0;
    uint32_t size = 0;
    uint32_t formType = 0;
    uint32_t dataOffset = 0;
};

struct RiffFileData;  // defined by the backend
struct RiffFileCloser {
    void operator()(RiffFileData* file) const;
};
// An open RIFF file; closed when it goes out of scope.
using RiffFile = std::unique_ptr<RiffFileData, RiffFileCloser>;

// Opens a file for reading, positioned at its start; empty when it cannot be
// opened.
RiffFile RiffOpen(const char* gamePath);

// Searches forward from the current position, at the top level of the file,
// for a "RIFF" chunk of form type `formType`; on success `form` describes it
// and the position is just after its form type.
bool RiffDescendForm(RiffFileData& file, uint32_t formType, RiffChunk* form);

// Searches forward from the current position, no further than the end of
// `parent`'s data, for a chunk with id `id`; on success `chunk` describes it
// and the position is at the start of its data.
bool RiffDescendChunk(RiffFileData& file, uint32_t id, const RiffChunk& parent, RiffChunk* chunk);

// Reads up to `bytes` bytes from the current position, bounded by the end of
// the file but not by the chunk, and stores how many came. False on a read
// error.
bool RiffRead(RiffFileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead);

// The size of the open file in bytes: what any chunk's data can reach.
uint32_t RiffFileBytes(const RiffFileData& file);

// Moves to the end of `chunk` (its data plus the pad byte of an odd size).
// False when that lies beyond the end of the file.
bool RiffAscend(RiffFileData& file, const RiffChunk& chunk);

}  // namespace korvane::platform
