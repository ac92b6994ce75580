#pragma once
// Real files on the host's disk, shared by every backend.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/game_path.h"

namespace korvane::platform {

// "Art\Main.kvp" under `root` as a host path ("root/Art/Main.kvp"); an empty
// root means the working directory.
std::string HostPath(const std::string& root, const char* gamePath);

// A backend whose files may still be on their way when the game asks for
// one (the browser's, while the page downloads the rest) sets a waiter:
// every open first waits until the file is there or will never come.
using HostFileWaiter = void (*)(const char* hostPath);
void SetHostFileWaiter(HostFileWaiter waiter);

struct StdioCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open host file with the operations the seam's files need.
class HostFile {
  public:
    static std::unique_ptr<HostFile> Open(const std::string& hostPath);
    bool Size(uint32_t* bytes);
    bool Read(void* destination, uint32_t bytes, uint32_t* bytesRead);
    bool Seek(uint32_t offset);
    uint32_t Tell() const { return position_; }

  private:
    explicit HostFile(std::unique_ptr<std::FILE, StdioCloser> file) : file_(std::move(file)) {}
    std::unique_ptr<std::FILE, StdioCloser> file_;
    uint32_t position_ = 0;
};

}  // namespace korvane::platform
