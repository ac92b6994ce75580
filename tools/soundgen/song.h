#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tools/soundgen/instruments.h"

namespace korvane::soundgen {

// One sounding note or drum hit, on the step grid.
struct NoteEvent {
    std::size_t step = 0;
    std::size_t steps = 1;  // how long the note is held
    double midi = 0.0;      // pitched instruments
    char drum = 0;          // the kit
    double velocity = 0.78;
};

struct Voice {
    std::string name;
    Instrument instrument = Instrument::kLead;
    double volume = 0.5;
    double pan = 0.0;
    double echo = 0.0;    // send to the ping-pong echo
    double reverb = 0.2;  // send to the room
    std::vector<NoteEvent> events;
};

// A piece of music as the note files describe it (see assets/music/README.md).
struct Song {
    double tempo = 120.0;  // beats per minute
    int steps_per_beat = 4;
    int beats_per_bar = 4;
    int bars = 0;
    int echo_steps = 3;
    double echo_feedback = 0.3;
    double reverb_size = 0.8;
    double peak_db = -6.0;  // the loudest sample after mixing, in dB below full scale
    std::vector<Voice> voices;

    std::size_t TotalSteps() const {
        return static_cast<std::size_t>(bars) * static_cast<std::size_t>(beats_per_bar) *
               static_cast<std::size_t>(steps_per_beat);
    }
};

// Parses a note file; on a mistake returns false with "line N: what" in error.
bool ParseSong(const std::string& text, Song& song, std::string& error);

}  // namespace korvane::soundgen
