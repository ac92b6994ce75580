// korvane_soundgen: synthesises every sound the game plays.
//
//   korvane_soundgen <music-dir> <data-dir>
//
// reads the note files play.notes and menu.notes from <music-dir> and writes
// <data-dir>/Sound/Music.wav, Background.wav, Thud.wav, Drop.wav and Rotate.wav.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/assetkit/byte_writer.h"
#include "tools/soundgen/effects.h"
#include "tools/soundgen/mixer.h"
#include "tools/soundgen/song_wav.h"
#include "tools/soundgen/wav.h"

namespace {

namespace sg = korvane::soundgen;
using korvane::assetkit::WriteFile;

// The effects peak near full scale while the music peaks 6 dB or more below
// it, so a row removed or a piece landing is heard over the music.
constexpr double kEffectPeakDb = -1.5;

bool MakeMusic(const std::filesystem::path& notes, const std::filesystem::path& wav) {
    std::ifstream in(notes, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", notes.string().c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!sg::SongToWav(text.str(), bytes, error)) {
        std::fprintf(stderr, "%s: %s\n", notes.string().c_str(), error.c_str());
        return false;
    }
    return WriteFile(wav.string(), bytes);
}

bool MakeEffect(const std::vector<double>& sound, double peak_db,
                const std::filesystem::path& wav) {
    return WriteFile(wav.string(),
                     sg::EncodeWav(sg::ToPcm(sound, nullptr, peak_db), 1, sg::kSampleRate));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: korvane_soundgen <music-dir> <data-dir>\n");
        return 2;
    }
    const std::filesystem::path music = argv[1];
    const std::filesystem::path sound = std::filesystem::path(argv[2]) / "Sound";
    std::error_code error;
    std::filesystem::create_directories(sound, error);
    const bool ok = MakeMusic(music / "play.notes", sound / "Music.wav") &&
                    MakeMusic(music / "menu.notes", sound / "Background.wav") &&
                    MakeEffect(sg::MakeThud(), kEffectPeakDb, sound / "Thud.wav") &&
                    MakeEffect(sg::MakeDrop(), kEffectPeakDb - 2.0, sound / "Drop.wav") &&
                    MakeEffect(sg::MakeRotate(), kEffectPeakDb - 4.0, sound / "Rotate.wav");
    return ok ? 0 : 1;
}
