// The seam's RIFF functions for the backends that read RIFF files with the
// shared walk (riff_reader.h); each step first asks the backend whether it
// may go ahead, so the headless backend can make any one of them fail.
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
    if (!RiffStepGoesAhead("riff.open")) {
        return nullptr;
    }
    auto reader = RiffReader::Open(gamePath);
    if (!reader) {
        return nullptr;
    }
    return RiffFile(new RiffFileData{std::move(reader)});
}

bool RiffDescendForm(RiffFileData& file, uint32_t formType, RiffChunk* form) {
    return RiffStepGoesAhead("riff.descend") && file.reader->DescendForm(formType, form);
}

bool RiffDescendChunk(RiffFileData& file, uint32_t id, const RiffChunk& parent, RiffChunk* chunk) {
    return RiffStepGoesAhead("riff.descend") && file.reader->DescendChunk(id, parent, chunk);
}

bool RiffRead(RiffFileData& file, void* destination, uint32_t bytes, uint32_t* bytesRead) {
    *bytesRead = 0;
    return RiffStepGoesAhead("riff.read") && file.reader->Read(destination, bytes, bytesRead);
}

uint32_t RiffFileBytes(const RiffFileData& file) {
    return file.reader->FileBytes();
}

bool RiffAscend(RiffFileData& file, const RiffChunk& chunk) {
    return RiffStepGoesAhead("riff.ascend") && file.reader->Ascend(chunk);
}

}  // namespace korvane::platform
