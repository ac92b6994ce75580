#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::assetkit {

// Little-endian byte building for the file formats the game reads.
class ByteWriter {
  public:
    void U8(std::uint8_t v) { bytes_.push_back(v); }
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void Tag(const char (&four)[5]);
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Writes the whole file; returns false (after printing why) when it cannot.
bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace korvane::assetkit
