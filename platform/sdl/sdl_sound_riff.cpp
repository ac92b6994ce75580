// The SDL backend's RIFF reader: the shared walk over the host's files.
#include "platform/common/riff_reader.h"
#include "platform/riff.h"

namespace korvane::platform {

struct RiffFileData {
    std::unique_ptr<RiffReader> reader;
};

void RiffFileCloser::operator()(RiffFileData* file) const {
    std::default_delete<RiffFileData>()(file);
}

RiffFile RiffOpen(const char* gamePath) {
    auto reader = RiffReader::Open(gamePath);
    if (!reader) {
        return nullptr;
    }
    return RiffFile(new RiffFileData{std::move(reader)});
}

bool RiffDescendForm(RiffFileData& file, uint32_t formType, RiffChunk* form) {
    return file.reader->DescendForm(formType, form);
}

bool RiffDescendChunk(RiffFileData& file, uint32_t id, const RiffChunk& parent, RiffChunk* chunk) {
    return file.reader->DescendChunk(id, parent, chunk);
}

bool RiffRead(RiffFileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead) {
    return file.reader->Read(destination, bytes, bytesRead);
}

uint32_t RiffFileBytes(const RiffFileData& file) {
    return file.reader->FileBytes();
}

bool RiffAscend(RiffFileData& file, const RiffChunk& chunk) {
    return file.reader->Ascend(chunk);
}

}  // namespace korvane::platform
