// korvane-kvp INPUT OUTPUT: converts a PNG picture to the game's .kvp format
// or a .kvp file to PNG, the direction told by the output's name. A picture
// for one of the game's own file names must have the size the game reads.
#include <cstdio>
#include <string>

#include "game_pictures.h"
#include "picture.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) {
        return false;
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        const char c = text[text.size() - tail.size() + i];
        if ((c | 0x20) != tail[i]) {
            return false;
        }
    }
    return true;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: korvane-kvp INPUT.png OUTPUT.kvp   (PNG to the game's picture format)\n"
                 "       korvane-kvp INPUT.kvp OUTPUT.png   (and back)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace korvane::kvp;
    if (argc != 3) {
        return Usage();
    }
    const std::string input = argv[1];
    const std::string output = argv[2];
    Picture picture;
    std::string error;
    bool ok = false;
    if (EndsWith(output, ".kvp")) {
        ok = ReadPng(input, &picture, &error) && FitsGameFileName(output, picture, &error) &&
             WriteKvp(output, picture, &error);
    } else if (EndsWith(output, ".png")) {
        ok = ReadKvp(input, &picture, &error) && WritePng(output, picture, &error);
    } else {
        std::fprintf(stderr, "korvane-kvp: %s: the output must end in .kvp or .png\n",
                     output.c_str());
        return Usage();
    }
    if (!ok) {
        std::fprintf(stderr, "korvane-kvp: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
