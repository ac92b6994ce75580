// The seam's file functions on the host's own files, below the working
// directory, for the backends whose game reads real files: the desktop, and
// the browser, whose files are packed with the page and unpacked into the
// module's file system before the game starts.
#include "platform/common/heap_block.h"
#include "platform/common/host_file.h"
#include "platform/common/riff_reader.h"
#include "platform/files.h"
#include "platform/memory.h"

namespace korvane::platform {

struct FileData {
    std::unique_ptr<HostFile> host;
};

void FileCloser::operator()(FileData* file) const {
    std::default_delete<FileData>()(file);
}

File FileOpen(const char* gamePath) {
    auto host = HostFile::Open(HostPath("", gamePath));
    if (!host) {
        return nullptr;
    }
    return File(new FileData{std::move(host)});
}

bool FileSize(FileData& file, uint32_t* bytes) {
    return file.host->Size(bytes);
}

bool FileRead(FileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead) {
    return file.host->Read(destination, bytes, bytesRead);
}

bool FileSeek(FileData& file, uint32_t offset) {
    return file.host->Seek(offset);
}

uint32_t FileTell(const FileData& file) {
    return file.host->Tell();
}

bool RiffStepGoesAhead(const char* /*step*/) {
    return true;
}

MemoryBlock AllocateBlock(size_t bytes, const char* /*purpose*/) {
    return HeapAllocate(bytes);
}

}  // namespace korvane::platform
