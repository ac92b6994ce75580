// The Windows backend's RIFF reader: the multimedia I/O functions, which do
// the chunk walk themselves.
#include <windows.h>

// mmsystem.h needs the types windows.h defines.
#include <mmsystem.h>

#include "platform/files.h"
#include "platform/riff.h"

namespace korvane::platform {

struct RiffFileData {
    HMMIO handle = nullptr;
    uint32_t bytes = 0;  // the file's size, which no chunk's data may pass
};

void RiffFileCloser::operator()(RiffFileData* file) const {
    if (file != nullptr && file->handle != nullptr) {
        mmioClose(file->handle, 0);
    }
    std::default_delete<RiffFileData>()(file);
}

namespace {

MMCKINFO ToChunkInfo(const RiffChunk& chunk) {
    MMCKINFO info{};
    info.ckid = chunk.id;
    info.cksize = chunk.size;
    info.fccType = chunk.formType;
    info.dwDataOffset = chunk.dataOffset;
    return info;
}

RiffChunk FromChunkInfo(const MMCKINFO& info) {
    return RiffChunk{static_cast<uint32_t>(info.ckid), static_cast<uint32_t>(info.cksize),
                     static_cast<uint32_t>(info.fccType), static_cast<uint32_t>(info.dwDataOffset)};
}

}  // namespace

RiffFile RiffOpen(const char* gamePath) {
    // The multimedia reader does not tell the file's size; the plain file
    // functions do, before it opens the file.
    uint32_t bytes = 0;
    {
        File file = FileOpen(gamePath);
        if (!file || !FileSize(*file, &bytes)) {
            return nullptr;
        }
    }
    // mmioOpenA takes a writable name; the game's paths are used as they are.
    char name[MAX_PATH] = {};
    lstrcpynA(name, gamePath, MAX_PATH);
    HMMIO handle = mmioOpenA(name, nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (handle == nullptr) {
        return nullptr;
    }
    return RiffFile(new RiffFileData{handle, bytes});
}

bool RiffDescendForm(RiffFileData& file, uint32_t formType, RiffChunk* form) {
    MMCKINFO info{};
    info.fccType = formType;
    if (mmioDescend(file.handle, &info, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) {
        return false;
    }
    *form = FromChunkInfo(info);
    return true;
}

bool RiffDescendChunk(RiffFileData& file, uint32_t id, const RiffChunk& parent, RiffChunk* chunk) {
    const MMCKINFO parentInfo = ToChunkInfo(parent);
    MMCKINFO info{};
    info.ckid = id;
    if (mmioDescend(file.handle, &info, &parentInfo, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) {
        return false;
    }
    *chunk = FromChunkInfo(info);
    return true;
}

bool RiffRead(RiffFileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead) {
    // mmioRead counts in a LONG; a larger request could not be answered whole.
    if (bytes > 0x7FFFFFFFU) {
        return false;
    }
    const LONG got =
        mmioRead(file.handle, static_cast<HPSTR>(destination), static_cast<LONG>(bytes));
    if (got < 0) {
        return false;
    }
    *bytesRead = static_cast<uint32_t>(got);
    return true;
}

uint32_t RiffFileBytes(const RiffFileData& file) {
    return file.bytes;
}

bool RiffAscend(RiffFileData& file, const RiffChunk& chunk) {
    MMCKINFO info = ToChunkInfo(chunk);
    return mmioAscend(file.handle, &info, 0) == MMSYSERR_NOERROR;
}

}  // namespace korvane::platform
