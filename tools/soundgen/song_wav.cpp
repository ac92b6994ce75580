#include "tools/soundgen/song_wav.h"

#include "tools/soundgen/mixer.h"
#include "tools/soundgen/song.h"
#include "tools/soundgen/wav.h"

namespace korvane::soundgen {

bool SongToWav(const std::string& notes, std::vector<std::uint8_t>& wav, std::string& error) {
    Song song;
    if (!ParseSong(notes, song, error)) {
        return false;
    }
    const LoopBuffer mix = RenderSong(song);
    wav = EncodeWav(ToPcm(mix.left, &mix.right, song.peak_db), 2, kSampleRate);
    return true;
}

}  // namespace korvane::soundgen
