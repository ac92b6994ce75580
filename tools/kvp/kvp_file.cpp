// The .kvp format: a 14-byte little-endian header (width, height, two unused
// bytes, the pixel-data size N) and N bytes of blue-green-red pixels.
#include <fstream>
#include <iterator>

#include "gfx/kvp_format.h"
#include "picture.h"

namespace korvane::kvp {
namespace {

constexpr size_t kHeaderBytes = kKvpHeaderBytes;
// Larger pictures than this cannot be described: N is a 32-bit count.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFULL;

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot be opened";
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool ReadKvp(const std::string& path, Picture* picture, std::string* error) {
    std::vector<uint8_t> bytes;
    return ReadWholeFile(path, &bytes, error) && DecodeKvp(bytes, path, picture, error);
}

bool DecodeKvp(const std::vector<uint8_t>& bytes, const std::string& path, Picture* picture,
               std::string* error) {
    if (bytes.size() < kHeaderBytes) {
        *error = path + ": " + std::to_string(bytes.size()) +
                 " bytes, shorter than the 14-byte .kvp header";
        return false;
    }
    const KvpHeader header = ReadKvpHeader(bytes.data());
    const uint32_t width = header.width;
    const uint32_t height = header.height;
    const uint32_t dataSize = header.dataBytes;
    if (width == 0 || height == 0) {
        *error = path + ": the header gives a size of " + std::to_string(width) + "x" +
                 std::to_string(height) + "; neither may be 0";
        return false;
    }
    const uint64_t expected = static_cast<uint64_t>(width) * height * 3;
    if (expected != dataSize) {
        *error = path + ": the header gives " + std::to_string(dataSize) +
                 " bytes of pixel data, but a " + std::to_string(width) + "x" +
                 std::to_string(height) + " picture needs " + std::to_string(expected);
        return false;
    }
    const size_t present = bytes.size() - kHeaderBytes;
    if (present < dataSize) {
        *error = path + ": the file ends after " + std::to_string(present) + " of its " +
                 std::to_string(dataSize) + " bytes of pixel data";
        return false;
    }
    picture->width = width;
    picture->height = height;
    picture->rgb.resize(dataSize);
    for (size_t p = 0; p < dataSize; p += 3) {
        picture->rgb[p] = bytes[kHeaderBytes + p + 2];
        picture->rgb[p + 1] = bytes[kHeaderBytes + p + 1];
        picture->rgb[p + 2] = bytes[kHeaderBytes + p];
    }
    return true;
}

bool WriteKvp(const std::string& path, const Picture& picture, std::string* error) {
    const uint64_t dataSize = static_cast<uint64_t>(picture.width) * picture.height * 3;
    if (picture.width == 0 || picture.height == 0 || dataSize > kMaxDataBytes ||
        picture.rgb.size() != dataSize) {
        *error = path + ": a " + std::to_string(picture.width) + "x" +
                 std::to_string(picture.height) + " picture cannot be written as .kvp";
        return false;
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderBytes + dataSize);
    AppendKvpHeader(bytes, picture.width, picture.height);
    for (size_t p = 0; p < dataSize; p += 3) {
        bytes.push_back(picture.rgb[p + 2]);
        bytes.push_back(picture.rgb[p + 1]);
        bytes.push_back(picture.rgb[p]);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        *error = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace korvane::kvp
