#pragma once

#include <cstdint>
#include <vector>

#include "tools/soundgen/dsp.h"
#include "tools/soundgen/song.h"

namespace korvane::soundgen {

// Renders the song as one seamless stereo loop: notes, echoes and the room's
// reverberation that run past the end are carried round to the start.
LoopBuffer RenderSong(const Song& song);

// Scales so the loudest sample sits peak_db below full scale and converts to
// 16-bit samples (interleaved when stereo).
std::vector<std::int16_t> ToPcm(const std::vector<double>& left, const std::vector<double>* right,
                                double peak_db);

}  // namespace korvane::soundgen
