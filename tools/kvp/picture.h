#pragma once
// A picture of 8-bit red, green and blue, top row first, as both file kinds
// the converter knows are read into and written from.
#include <cstdint>
#include <string>
#include <vector>

namespace korvane::kvp {

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel: red, green, blue
};

// Each reader and writer answers true, or false with `error` saying what is
// wrong in words a person can act on.
bool ReadKvp(const std::string& path, Picture* picture, std::string* error);
bool WriteKvp(const std::string& path, const Picture& picture, std::string* error);
bool ReadPng(const std::string& path, Picture* picture, std::string* error);
bool WritePng(const std::string& path, const Picture& picture, std::string* error);

}  // namespace korvane::kvp
