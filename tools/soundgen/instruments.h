#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace korvane::soundgen {

enum class Instrument {
    kLead,   // two detuned saws through a swept low-pass, with late vibrato
    kPluck,  // a bright pulse that closes quickly: arpeggios
    kBell,   // two-operator FM with a falling index: soft mallet bells
    kBass,   // saw and sub through a resonant low-pass
    kRound,  // a round sine bass for quiet music
    kPad,    // three slow detuned saws, dark and wide
    kDrums,  // the kit: tokens name the drum, not a pitch
};

// Looks an instrument up by the name the note files use; false if unknown.
bool InstrumentNamed(std::string_view name, Instrument& out);

// One pitched note, gate seconds long plus its release, in mono.
std::vector<double> RenderNote(Instrument instrument, double midi, double gate, double velocity);

// One drum hit: 'k' kick, 's' snare, 'c' clap, 'h' closed hat, 'o' open hat,
// 'm' shaker, 'r' rim.
std::vector<double> RenderDrum(char kind, double velocity, std::uint64_t seed);
bool IsDrum(char kind);

}  // namespace korvane::soundgen
