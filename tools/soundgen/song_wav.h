#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::soundgen {

// A note file's text rendered as the game's looping stereo WAV file. False,
// with `error` set, when the text cannot be read as a song.
bool SongToWav(const std::string& notes, std::vector<std::uint8_t>& wav, std::string& error);

}  // namespace korvane::soundgen
