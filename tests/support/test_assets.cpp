#include "tests/support/test_assets.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace korvane::testing {
namespace {

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void Append(std::vector<uint8_t>& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

void Append32(std::vector<uint8_t>& bytes, uint32_t value) {
    bytes.resize(bytes.size() + 4);
    Put32(bytes, bytes.size() - 4, value);
}

void Append16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

}  // namespace

std::vector<uint8_t> SolidPicture(uint32_t width, uint32_t height, uint8_t red, uint8_t green,
                                  uint8_t blue) {
    const uint32_t n = 3 * width * height;
    std::vector<uint8_t> bytes(14 + n);
    Put32(bytes, 0, width);
    Put32(bytes, 4, height);
    Put32(bytes, 10, n);
    for (uint32_t i = 0; i < width * height; ++i) {
        bytes[14 + 3 * i] = blue;
        bytes[15 + 3 * i] = green;
        bytes[16 + 3 * i] = red;
    }
    return bytes;
}

std::vector<uint8_t> ShortWav(uint32_t samples, uint32_t rate) {
    std::vector<uint8_t> bytes;
    Append(bytes, "RIFF");
    Append32(bytes, 36 + samples * 2);
    Append(bytes, "WAVE");
    Append(bytes, "fmt ");
    Append32(bytes, 16);
    Append16(bytes, 1);  // PCM
    Append16(bytes, 1);  // mono
    Append32(bytes, rate);
    Append32(bytes, rate * 2);
    Append16(bytes, 2);
    Append16(bytes, 16);
    Append(bytes, "data");
    Append32(bytes, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) {
        Append16(bytes, static_cast<uint16_t>((i / 25) % 2 == 0 ? 2000 : -2000));
    }
    return bytes;
}

void WriteTestAssets(const std::string& folder) {
    const std::filesystem::path root(folder);
    WriteFile(root / "Art/Loading.kvp", SolidPicture(640, 480, 0x60, 0x60, 0x60));
    WriteFile(root / "Art/Main.kvp", SolidPicture(640, 480, 0x10, 0x10, 0x40));
    WriteFile(root / "Art/Menu.kvp", SolidPicture(640, 480, 0x10, 0x40, 0x10));
    WriteFile(root / "Art/FileMenu.kvp", SolidPicture(640, 480, 0x40, 0x10, 0x10));
    for (int k = 1; k <= 8; ++k) {
        const auto shade = static_cast<uint8_t>(k * 30);
        WriteFile(root / ("Art/Block" + std::to_string(k) + ".kvp"),
                  SolidPicture(24, 24, shade, 0xFF - shade, 0x80));
    }
    WriteFile(root / "Sound/Music.wav", ShortWav(22050));
    WriteFile(root / "Sound/Background.wav", ShortWav(22050));
    WriteFile(root / "Sound/Thud.wav", ShortWav(2205));
    WriteFile(root / "Sound/Drop.wav", ShortWav(2205));
    WriteFile(root / "Sound/Rotate.wav", ShortWav(2205));
}

std::string MakeTempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    const char* made = mkdtemp(pattern.data());
    return made != nullptr ? std::string(made) : std::string();
}

}  // namespace korvane::testing
