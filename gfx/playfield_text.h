#pragma once
// The one small text buffer of the playing screen: the counters are formatted
// into it, and the block pictures' file names are built in it.
namespace korvane {

inline constexpr int kPlayfieldTextBytes = 32;
extern char playfieldText[kPlayfieldTextBytes];

}  // namespace korvane
