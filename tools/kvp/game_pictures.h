#pragma once
// The pictures the game reads by name and the sizes it reads them at. The
// game takes a picture's size from where it is used, not from the file: a
// full-screen picture is always read as 640x480 and a block as 24x24, so a
// file of another size under one of those names shows garbled.
#include <string>

#include "picture.h"

namespace korvane::kvp {

// True when `path`'s file name is not one the game reads, or when `picture`
// has the size the game reads that file at; otherwise false, with `error`
// saying which size the game needs.
bool FitsGameFileName(const std::string& path, const Picture& picture, std::string* error);

}  // namespace korvane::kvp
