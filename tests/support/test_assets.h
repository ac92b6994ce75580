#pragma once
// Small but valid game files written to a folder, so that the whole program
// can start without the generated art and music.
#include <cstdint>
#include <string>
#include <vector>

namespace korvane::testing {

// The bytes of a .kvp picture filled with one colour.
std::vector<uint8_t> SolidPicture(uint32_t width, uint32_t height, uint8_t red, uint8_t green,
                                  uint8_t blue);
// The bytes of a 16-bit mono PCM WAV file of `samples` samples at `rate`,
// a quiet square wave.
std::vector<uint8_t> ShortWav(uint32_t samples, uint32_t rate = 22050);

// Writes Art/ and Sound/ with every file the game reads into `folder`
// (created if needed). Each 640x480 picture has a colour of its own:
// loading grey, main dark blue, menu dark green, file menu dark red.
void WriteTestAssets(const std::string& folder);

// A fresh, empty folder under the system's temporary folder.
std::string MakeTempFolder(const std::string& prefix);

}  // namespace korvane::testing
