#pragma once
// Finding the counters' face through fontconfig, read from disk only once.
#include <cstdint>
#include <string>
#include <vector>

namespace korvane::platform {

// The desktop's host face (platform/common/memory_backend.h): a font file.
struct HostFace {
    std::string family;  // the family that was found
    std::string file;
    bool bold = false;  // the file's own face is bold
    std::vector<uint8_t> bytes;
};

}  // namespace korvane::platform

namespace korvane::platform::sdl {

using FontFace = HostFace;

// The face asked for when this machine has it, else the first it has of a few
// condensed heavy faces, else any scalable face with the ten digits (bold when
// there is one); null when fontconfig offers none at all. Found and read once
// per name; the answer lives until the program ends.
const FontFace* FindFontFace(const std::string& wanted);

}  // namespace korvane::platform::sdl
