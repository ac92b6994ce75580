#pragma once
// Shared between the fake backend's own files only.
namespace korvane::fake::detail {

void ResetFailures();
void ResetJournal();
void ResetClock();
void ResetFiles();
void ResetWindow();
void ResetDisplay();
void ResetSoundDevice();
void ResetInputDevices();

}  // namespace korvane::fake::detail
