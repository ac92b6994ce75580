#pragma once
// Read-only access to the game's data files. Paths are written the game's way,
// relative to the working directory with backslashes ("Art\Main.kvp"); the
// backend turns them into the host's form.
#include <cstdint>
#include <memory>

namespace korvane::platform {

struct FileData;  // defined by the backend
struct FileCloser {
    void operator()(FileData* file) const;
};
// An open file; closed when it goes out of scope.
using File = std::unique_ptr<FileData, FileCloser>;

// Opens a file for reading; empty when it does not exist or cannot be opened.
File FileOpen(const char* gamePath);

// Stores the file's size in bytes; false when it cannot be told or is 4 GiB or more.
bool FileSize(FileData& file, uint32_t* bytes);

// Reads up to `bytes` bytes at the current position and stores how many came.
// False on a read error; reaching the end of the file is not an error.
bool FileRead(FileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead);

// Moves the read position to `offset` bytes from the start; false when that
// lies beyond the end of the file.
bool FileSeek(FileData& file, uint32_t offset);

// The current read position.
uint32_t FileTell(const FileData& file);

}  // namespace korvane::platform
