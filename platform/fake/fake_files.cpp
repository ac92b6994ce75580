#include <algorithm>
#include <cstring>
#include <map>
#include <variant>

#include "platform/common/heap_block.h"
#include "platform/common/host_file.h"
#include "platform/common/riff_reader.h"
#include "platform/fake/fake_internal.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "platform/memory.h"

namespace korvane {
namespace {

std::map<std::string, std::vector<uint8_t>> memoryFiles;
std::string fileRoot;

// A file held in memory: the bytes are copied at open, so a test may change
// or remove the original while the game reads.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    uint32_t position = 0;
};

}  // namespace

namespace platform {

struct FileData {
    std::variant<MemoryFile, std::unique_ptr<HostFile>> source;
};

void FileCloser::operator()(FileData* file) const {
    fake::Journal("file.close");
    std::default_delete<FileData>()(file);
}

File FileOpen(const char* gamePath) {
    if (fake::StepFailure("file.open") != 0) {
        return nullptr;
    }
    auto held = memoryFiles.find(gamePath);
    if (held != memoryFiles.end()) {
        fake::Journal(std::string("file.open ") + gamePath);
        return File(new FileData{MemoryFile{held->second, 0}});
    }
    auto host = HostFile::Open(HostPath(fileRoot, gamePath));
    if (!host) {
        return nullptr;
    }
    fake::Journal(std::string("file.open ") + gamePath);
    return File(new FileData{std::move(host)});
}

bool FileSize(FileData& file, uint32_t* bytes) {
    if (fake::StepFailure("file.size") != 0) {
        return false;
    }
    if (auto* memory = std::get_if<MemoryFile>(&file.source)) {
        *bytes = static_cast<uint32_t>(memory->bytes.size());
        return true;
    }
    return std::get<std::unique_ptr<HostFile>>(file.source)->Size(bytes);
}

bool FileRead(FileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead) {
    *bytesRead = 0;
    if (fake::StepFailure("file.read") != 0) {
        return false;
    }
    if (auto* memory = std::get_if<MemoryFile>(&file.source)) {
        const size_t left = memory->bytes.size() - memory->position;
        const auto count = static_cast<uint32_t>(std::min<size_t>(bytes, left));
        if (count > 0) {
            std::memcpy(destination, memory->bytes.data() + memory->position, count);
        }
        memory->position += count;
        *bytesRead = count;
        return true;
    }
    return std::get<std::unique_ptr<HostFile>>(file.source)->Read(destination, bytes, bytesRead);
}

bool FileSeek(FileData& file, uint32_t offset) {
    if (auto* memory = std::get_if<MemoryFile>(&file.source)) {
        if (offset > memory->bytes.size()) {
            return false;
        }
        memory->position = offset;
        return true;
    }
    return std::get<std::unique_ptr<HostFile>>(file.source)->Seek(offset);
}

uint32_t FileTell(const FileData& file) {
    if (const auto* memory = std::get_if<MemoryFile>(&file.source)) {
        return memory->position;
    }
    return std::get<std::unique_ptr<HostFile>>(file.source)->Tell();
}

bool RiffStepGoesAhead(const char* step) {
    return fake::StepFailure(step) == 0;
}

MemoryBlock AllocateBlock(size_t bytes, const char* purpose) {
    if (fake::StepFailure(std::string("alloc.") + purpose) != 0) {
        return nullptr;
    }
    return HeapAllocate(bytes);
}

}  // namespace platform

namespace fake {

void AddFile(const std::string& gamePath, std::vector<uint8_t> bytes) {
    memoryFiles[gamePath] = std::move(bytes);
}

void RemoveFile(const std::string& gamePath) {
    memoryFiles.erase(gamePath);
}

void SetFileRoot(const std::string& hostFolder) {
    fileRoot = hostFolder;
}

namespace detail {
void ResetFiles() {
    memoryFiles.clear();
    fileRoot.clear();
}
}  // namespace detail

}  // namespace fake
}  // namespace korvane
