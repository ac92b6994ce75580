#pragma once
// The RIFF walk itself, on top of the seam's files; each backend's RIFF
// functions hand their work to it.
#include <cstdint>

#include "platform/files.h"
#include "platform/riff.h"

namespace korvane::platform {

// Whether the backend lets a step of riff_file.cpp ("riff.open",
// "riff.descend", "riff.read", "riff.ascend") go ahead.
bool RiffStepGoesAhead(const char* step);

class RiffReader {
  public:
    // Empty when the file cannot be opened or its size cannot be told.
    static std::unique_ptr<RiffReader> Open(const char* gamePath);

    bool DescendForm(uint32_t formType, RiffChunk* form);
    bool DescendChunk(uint32_t id, const RiffChunk& parent, RiffChunk* chunk);
    bool Read(void* destination, uint32_t bytes, uint32_t* bytesRead);
    bool Ascend(const RiffChunk& chunk);
    uint32_t FileBytes() const { return size_; }

  private:
    RiffReader(File file, uint32_t size) : file_(std::move(file)), size_(size) {}

    // Reads `bytes` (at most 12) header bytes at `offset`; false when they are
    // not all there.
    bool ReadHeaderAt(uint64_t offset, uint8_t* header, uint32_t bytes);

    File file_;
    uint32_t size_;
};

}  // namespace korvane::platform
