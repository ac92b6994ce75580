#pragma once
// The replay script: how the headless machine is set up and what happens
// to it at which virtual millisecond.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane::replay {

struct TimedAction {
    enum class Kind {
        KeyDown,
        KeyUp,
        Shot,
        Board,
        Close,
        DemoOn,
        DemoOff,
        SwitchAway,  // the screen taken by another program: the surfaces are lost
        SwitchBack,  // the screen the game's again
        KeyboardLost,
        KeyboardUnplugged,
        KeyboardPlugged,
    };
    uint64_t atMs;
    Kind kind;
    uint8_t scanCode = 0;  // keys
    std::string name;      // shots
};

struct Script {
    uint64_t counterHz = 10'000'000;  // 0: no counter, the millisecond timer alone
    uint32_t startMs = 0;
    bool layout555 = false;
    std::vector<std::string> failSteps;
    std::vector<TimedAction> actions;  // in script order
    std::optional<uint64_t> endMs;
    // Only frames where the screen state, a counter or a piece changed are
    // written, each with a running hash of everything left out.
    bool traceChangesOnly = false;
};

// Parses a script; on a malformed line stores "line N: what is wrong" in
// `error` and returns nothing.
std::optional<Script> ParseScript(const std::string& text, std::string* error);

// The scan code of a key map name (ESCAPE, E, R, S, G, L, B, N, UP, DOWN,
// LEFT, RIGHT); 0 for any other name.
uint8_t KeyCode(const std::string& name);

}  // namespace korvane::replay
