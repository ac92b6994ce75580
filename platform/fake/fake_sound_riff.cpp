// The fake backend's RIFF reader: the shared walk, with each step failable.
#include "platform/common/riff_reader.h"
#include "platform/fake/fake_platform.h"
#include "platform/riff.h"

namespace korvane::platform {

struct RiffFileData {
    std::unique_ptr<RiffReader> reader;
};

void RiffFileCloser::operator()(RiffFileData* file) const {
    std::default_delete<RiffFileData>()(file);
}

RiffFile RiffOpen(const char* gamePath) {
    if (fake::StepFailure("riff.open") != 0) {
        return nullptr;
    }
    auto reader = RiffReader::Open(gamePath);
    if (!reader) {
        return nullptr;
    }
    return RiffFile(new RiffFileData{std::move(reader)});
}

bool RiffDescendForm(RiffFileData& file, uint32_t formType, RiffChunk* form) {
    return fake::StepFailure("riff.descend") == 0 && file.reader->DescendForm(formType, form);
}

bool RiffDescendChunk(RiffFileData& file, uint32_t id, const RiffChunk& parent, RiffChunk* chunk) {
    return fake::StepFailure("riff.descend") == 0 && file.reader->DescendChunk(id, parent, chunk);
}

bool RiffRead(RiffFileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead) {
    *bytesRead = 0;
    return fake::StepFailure("riff.read") == 0 && file.reader->Read(destination, bytes, bytesRead);
}

uint32_t RiffFileBytes(const RiffFileData& file) {
    return file.reader->FileBytes();
}

bool RiffAscend(RiffFileData& file, const RiffChunk& chunk) {
    return fake::StepFailure("riff.ascend") == 0 && file.reader->Ascend(chunk);
}

}  // namespace korvane::platform
