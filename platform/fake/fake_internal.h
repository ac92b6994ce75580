#pragma once
// Shared between the fake backend's own files only.
#include <cstddef>
#include <utility>
#include <vector>

namespace korvane::fake::detail {

// Records of calls (blits, text draws, sound calls) keep at most this many of
// the latest entries, so a run of millions of frames stays the same size.
// Tests look at what a few frames did, far fewer than this.
inline constexpr size_t kRecordLimit = 1 << 16;

template <typename Record>
void AppendRecord(std::vector<Record>& records, Record record) {
    if (records.size() >= kRecordLimit) {
        records.erase(records.begin(), records.begin() + kRecordLimit / 2);
    }
    records.push_back(std::move(record));
}

void ResetFailures();
void ResetJournal();
void ResetClock();
void ResetFiles();
void ResetWindow();
void ResetDisplay();
void ResetSoundDevice();
void ResetInputDevices();

}  // namespace korvane::fake::detail
