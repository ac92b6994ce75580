// korvane_artgen: draws every picture the game reads, and its icon.
//
//   korvane_artgen <data-dir> <generated-dir> [<preview-dir>]
//
// writes <data-dir>/Art/*.kvp, the icon as <data-dir>/korvane.png (32x32) and
// korvane-64.png up to korvane-512.png (the web page asks for 192 and 512),
// <generated-dir>/korvane_icon.h
// and <generated-dir>/korvane.ico; with a preview folder it also writes each
// picture as a PNG exactly as the 16-bit display shows it.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/artgen/blocks.h"
#include "tools/artgen/encode.h"
#include "tools/artgen/ico.h"
#include "tools/artgen/screens.h"
#include "tools/assetkit/byte_writer.h"

namespace {

using korvane::assetkit::WriteFile;
namespace art = korvane::artgen;

bool WritePicture(const std::filesystem::path& art_dir, const std::string& preview_dir,
                  const std::string& name, const art::Canvas& canvas) {
    const art::Pixels pixels = art::QuantiseForDisplay(canvas);
    if (!WriteFile((art_dir / (name + ".kvp")).string(), art::EncodeKvp(pixels))) {
        return false;
    }
    if (!preview_dir.empty()) {
        return WriteFile((std::filesystem::path(preview_dir) / (name + ".png")).string(),
                         art::EncodePng(pixels));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: korvane_artgen <data-dir> <generated-dir> [<preview-dir>]\n");
        return 2;
    }
    const std::filesystem::path data_dir = argv[1];
    const std::filesystem::path generated_dir = argv[2];
    const std::string preview_dir = argc == 4 ? argv[3] : "";
    std::error_code error;
    std::filesystem::create_directories(data_dir / "Art", error);
    std::filesystem::create_directories(generated_dir, error);
    if (!preview_dir.empty()) {
        std::filesystem::create_directories(preview_dir, error);
    }

    bool ok = WritePicture(data_dir / "Art", preview_dir, "Loading", art::MakeLoadingScreen()) &&
              WritePicture(data_dir / "Art", preview_dir, "Main", art::MakePlayScreen()) &&
              WritePicture(data_dir / "Art", preview_dir, "Menu", art::MakeMainMenu()) &&
              WritePicture(data_dir / "Art", preview_dir, "FileMenu", art::MakeFileMenu());
    for (int i = 0; ok && i < 8; ++i) {
        ok = WritePicture(data_dir / "Art", preview_dir, "Block" + std::to_string(i + 1),
                          art::MakeBlockPicture(i));
    }
    if (!ok) {
        return 1;
    }
    const art::Pixels icon = art::RoundToRgba(art::MakeIcon());
    const std::string header = art::EncodeIconHeader(icon);
    if (!WriteFile((data_dir / "korvane.png").string(), art::EncodePng(icon)) ||
        !WriteFile((generated_dir / "korvane_icon.h").string(),
                   std::vector<std::uint8_t>(header.begin(), header.end())) ||
        !WriteFile((generated_dir / "korvane.ico").string(), art::EncodeIco(icon))) {
        return 1;
    }
    for (const int size : {64, 128, 192, 256, 512}) {
        const std::string name = "korvane-" + std::to_string(size) + ".png";
        if (!WriteFile((data_dir / name).string(),
                       art::EncodePng(art::RoundToRgba(art::MakeIcon(size))))) {
            return 1;
        }
    }
    return 0;
}
