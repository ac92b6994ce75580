// The Windows backend's files: CreateFileA, GetFileSize and ReadFile on the
// game's own backslashed paths, which Windows takes as they are.
#include <windows.h>

#include "platform/common/host_file.h"
#include "platform/files.h"
#include "platform/memory.h"

namespace korvane::platform {

struct FileData {
    HANDLE handle = INVALID_HANDLE_VALUE;
    uint32_t position = 0;
};

void FileCloser::operator()(FileData* file) const {
    if (file != nullptr && file->handle != INVALID_HANDLE_VALUE) {
        CloseHandle(file->handle);
    }
    std::default_delete<FileData>()(file);
}

File FileOpen(const char* gamePath) {
    // A folder does not open without FILE_FLAG_BACKUP_SEMANTICS, so only a
    // file the game can read comes back.
    HANDLE handle = CreateFileA(gamePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return File(new FileData{handle, 0});
}

bool FileSize(FileData& file, uint32_t* bytes) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file.handle, &high);
    if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0 ||
        low == 0xFFFFFFFFU) {
        return false;
    }
    *bytes = low;
    return true;
}

bool FileRead(FileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead) {
    DWORD got = 0;
    const BOOL ok = ReadFile(file.handle, destination, bytes, &got, nullptr);
    file.position += got;
    *bytesRead = got;
    return ok != 0;
}

bool FileSeek(FileData& file, uint32_t offset) {
    uint32_t size = 0;
    if (!FileSize(file, &size) || offset > size) {
        return false;
    }
    LARGE_INTEGER to{};
    to.QuadPart = offset;
    if (SetFilePointerEx(file.handle, to, nullptr, FILE_BEGIN) == 0) {
        return false;
    }
    file.position = offset;
    return true;
}

uint32_t FileTell(const FileData& file) {
    return file.position;
}

void BlockReleaser::operator()(uint8_t* block) const {
    GlobalFree(block);
}

MemoryBlock AllocateBlock(size_t bytes, const char* /*purpose*/) {
    // A fixed block of the global heap: its handle is its address.
    return MemoryBlock(static_cast<uint8_t*>(GlobalAlloc(GMEM_FIXED, bytes == 0 ? 1 : bytes)));
}

}  // namespace korvane::platform
