#include "game_pictures.h"

#include <algorithm>
#include <cctype>

namespace korvane::kvp {
namespace {

std::string LowerFileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

bool IsBlockName(const std::string& name) {
    return name.size() == std::string("block1.kvp").size() && name.rfind("block", 0) == 0 &&
           name[5] >= '1' && name[5] <= '8' && name.substr(6) == ".kvp";
}

}  // namespace

bool FitsGameFileName(const std::string& path, const Picture& picture, std::string* error) {
    const std::string name = LowerFileName(path);
    uint32_t width = 0;
    uint32_t height = 0;
    if (name == "loading.kvp" || name == "main.kvp" || name == "menu.kvp" ||
        name == "filemenu.kvp") {
        width = 640;
        height = 480;
    } else if (IsBlockName(name)) {
        width = 24;
        height = 24;
    } else {
        return true;
    }
    if (picture.width == width && picture.height == height) {
        return true;
    }
    *error = path + ": the game reads this picture at " + std::to_string(width) + "x" +
             std::to_string(height) + ", but the picture is " + std::to_string(picture.width) +
             "x" + std::to_string(picture.height) +
             "; resize it first (any other file name takes any size up to 640x480)";
    return false;
}

}  // namespace korvane::kvp
