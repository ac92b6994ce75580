#include "platform/common/host_file.h"

#include <sys/stat.h>
#include <new>

namespace korvane::platform {
namespace {

HostFileWaiter fileWaiter = nullptr;

}  // namespace

void SetHostFileWaiter(HostFileWaiter waiter) {
    fileWaiter = waiter;
}

std::string HostPath(const std::string& root, const char* gamePath) {
    std::string path = root;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path + WithSlashes(gamePath);
}

std::unique_ptr<HostFile> HostFile::Open(const std::string& hostPath) {
    if (fileWaiter != nullptr) {
        fileWaiter(hostPath.c_str());
    }
    struct stat info {};
    // A folder opens fine with fopen on Linux; it is not a file the game can read.
    if (stat(hostPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    std::unique_ptr<std::FILE, StdioCloser> file(std::fopen(hostPath.c_str(), "rb"));
    if (!file) {
        return nullptr;
    }
    return std::unique_ptr<HostFile>(new HostFile(std::move(file)));
}

bool HostFile::Size(uint32_t* bytes) {
    struct stat info {};
    if (fstat(fileno(file_.get()), &info) != 0 || info.st_size < 0 ||
        static_cast<uint64_t>(info.st_size) >= 0xFFFFFFFFull) {
        return false;
    }
    *bytes = static_cast<uint32_t>(info.st_size);
    return true;
}

bool HostFile::Read(void* destination, uint32_t bytes, uint32_t* bytesRead) {
    size_t got = std::fread(destination, 1, bytes, file_.get());
    position_ += static_cast<uint32_t>(got);
    *bytesRead = static_cast<uint32_t>(got);
    return got == bytes || std::ferror(file_.get()) == 0;
}

bool HostFile::Seek(uint32_t offset) {
    uint32_t size = 0;
    if (!Size(&size) || offset > size || std::fseek(file_.get(), offset, SEEK_SET) != 0) {
        return false;
    }
    position_ = offset;
    return true;
}

}  // namespace korvane::platform
