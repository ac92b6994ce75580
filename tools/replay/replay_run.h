#pragma once
// Runs the whole program on the headless machine as a script says.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/replay/replay_script.h"

namespace korvane::replay {

struct Options {
    std::string dataDir;   // the folder holding Art/ and Sound/
    std::string shotsDir;  // where "shot" writes its PNG files
    // Checks the board, counters, falling piece and sound slots after every
    // frame; a broken rule is traced as a violation and ends the run.
    bool check = false;
    // Plays random key presses (every key but E) from the start to the
    // script's end, drawn from this seed.
    std::optional<uint64_t> randomSeed;
    // A built-in player takes the arrow keys whenever a game is on.
    bool demo = false;
    // Ends the run (as the desktop would) after this many frames; 0: no limit.
    uint64_t maxFrames = 0;
};

struct Outcome {
    int exitCode = 0;                         // the program's own exit code
    uint64_t frames = 0;                      // frames run
    int violations = 0;                       // broken rules found with Options::check
    std::vector<std::string> unwrittenShots;  // shots whose file could not be written
};

// Resets the fake machine, sets it up from the script, runs the program and
// writes the trace to `trace`.
Outcome RunScript(const Script& script, const Options& options, std::ostream& trace);

}  // namespace korvane::replay
