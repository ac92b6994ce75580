#include "tests/support/test_assets.h"

#include "tests/support/kvp_bytes.h"
#include "tests/support/wav_bytes.h"

#include <filesystem>
#include <random>

namespace korvane::testing {
std::vector<uint8_t> SolidPicture(uint32_t width, uint32_t height, uint8_t red, uint8_t green,
                                  uint8_t blue) {
    return KvpBytes(width, height, [=](uint32_t, uint32_t, uint8_t* r, uint8_t* g, uint8_t* b) {
        *r = red;
        *g = green;
        *b = blue;
    });
}

std::vector<uint8_t> ShortWav(uint32_t samples, uint32_t rate) {
    Bytes data;
    for (uint32_t i = 0; i < samples; ++i) {
        Put16(data, static_cast<uint16_t>((i / 25) % 2 == 0 ? 2000 : -2000));
    }
    return RiffWave({FormatChunk(Pcm(1, rate, 16)), Chunk("data", data)});
}

void WriteTestAssets(const std::string& folder) {
    const std::filesystem::path root(folder);
    WriteBytes(root / "Art/Loading.kvp", SolidPicture(640, 480, 0x60, 0x60, 0x60));
    WriteBytes(root / "Art/Main.kvp", SolidPicture(640, 480, 0x10, 0x10, 0x40));
    WriteBytes(root / "Art/Menu.kvp", SolidPicture(640, 480, 0x10, 0x40, 0x10));
    WriteBytes(root / "Art/FileMenu.kvp", SolidPicture(640, 480, 0x40, 0x10, 0x10));
    for (int k = 1; k <= 8; ++k) {
        const auto shade = static_cast<uint8_t>(k * 30);
        WriteBytes(root / ("Art/Block" + std::to_string(k) + ".kvp"),
                   SolidPicture(24, 24, shade, 0xFF - shade, 0x80));
    }
    WriteBytes(root / "Sound/Music.wav", ShortWav(22050));
    WriteBytes(root / "Sound/Background.wav", ShortWav(22050));
    WriteBytes(root / "Sound/Thud.wav", ShortWav(2205));
    WriteBytes(root / "Sound/Drop.wav", ShortWav(2205));
    WriteBytes(root / "Sound/Rotate.wav", ShortWav(2205));
}

std::string MakeTempFolder(const std::string& prefix) {
    // mkdtemp is POSIX only; a random name that create_directory makes anew
    // is just as private, on Windows too.
    std::random_device random;
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; attempt < 100 && !error; ++attempt) {
        const std::filesystem::path folder = temp / (prefix + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(folder, error)) {
            return folder.string();
        }
    }
    return std::string();
}

}  // namespace korvane::testing
