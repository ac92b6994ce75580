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

// The largest picture the converter takes: the game shows nothing larger, so
// no file can make it spend more than such a picture costs.
inline constexpr uint32_t kMaxWidth = 640;
inline constexpr uint32_t kMaxHeight = 480;

// Each reader and writer answers true, or false with `error` saying what is
// wrong in words a person can act on. The decoders take a file's bytes and
// name it `name` in their errors.
bool DecodeKvp(const std::vector<uint8_t>& bytes, const std::string& name, Picture* picture,
               std::string* error);
bool DecodePng(const std::vector<uint8_t>& bytes, const std::string& name, Picture* picture,
               std::string* error);
bool ReadKvp(const std::string& path, Picture* picture, std::string* error);
bool WriteKvp(const std::string& path, const Picture& picture, std::string* error);
bool ReadPng(const std::string& path, Picture* picture, std::string* error);
bool WritePng(const std::string& path, const Picture& picture, std::string* error);

// The whole of a file; false with `error` when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

}  // namespace korvane::kvp
