#pragma once
// The game names its files with backslashes ("Art\Main.kvp"); messages and
// hosts with forward slashes want them the other way.
#include <string>

namespace korvane::platform {

// A game path with the desktop's slashes: "Art/Main.kvp".
inline std::string WithSlashes(const char* gamePath) {
    std::string path = gamePath;
    for (char& c : path) {
        c = c == '\\' ? '/' : c;
    }
    return path;
}

}  // namespace korvane::platform
