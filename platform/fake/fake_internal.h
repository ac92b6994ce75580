#pragma once
// Shared between the fake backend's own files only.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/memory_surface.h"

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
void ResetText();       // contexts, fonts and records
void ClearTextDraws();  // the records only

// Whether a drawing call must answer that the surfaces are lost. Once the
// screen is the game's again, the call that asks first restores them (and
// still answers lost).
bool SurfacesAnswerLost();
// Whether the display packs pixels 5-5-5 (red at bit 10) rather than 5-6-5.
bool DisplayIs555();
// A 0x00BBGGRR colour packed as the display packs pixels.
uint16_t PackColorRef(uint32_t color);
// Draws `text` with the built-in face into `box` of `surface`, clipped to the
// box, `glyphHeight` pixels high, centred as `format` asks.
void DrawBuiltInText(platform::Surface& surface, const std::string& text, const platform::Rect& box,
                     uint32_t format, int32_t glyphHeight, uint16_t pixel);

}  // namespace korvane::fake::detail
