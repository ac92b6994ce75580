#include "tools/replay/replay_run.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>

#include "app/frame.h"
#include "app/program_state.h"
#include "app/screen_state.h"
#include "app/win_main.h"
#include "game/board.h"
#include "game/piece_cells.h"
#include "game/scoring.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_window.h"
#include "sound/sound.h"
#include "tools/replay/demo_player.h"
#include "tools/replay/rule_check.h"

namespace korvane::replay {
namespace {

constexpr uint64_t kNsPerMs = 1'000'000;
// Random keys are scheduled a little ahead of the game rather than all at
// once, so a run of millions of frames holds only the next few. Nothing
// between two frames lasts as long as the lead.
constexpr uint64_t kRandomKeyLeadMs = 10'000;

// The same step as the screen hash, over a trace line's bytes.
uint64_t HashStep(uint64_t hash, const std::string& text) {
    for (const char c : text) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 0x100000001B3ULL;
    }
    return hash;
}

std::string Hex32(uint64_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<uint32_t>(value ^ (value >> 32)));
    return text;
}

// What a frame line says beyond its number and time: when this changes, a
// shortened trace writes the frame.
struct FrameKey {
    std::string state;
    uint32_t score, level, lines;
    int32_t shape;
    uint32_t color;
    int32_t nextShape;
    uint32_t nextColor;
    bool operator==(const FrameKey&) const = default;
};

// Random key presses from a seed, up to the script's end.
struct RandomKeys {
    std::mt19937_64 random;
    uint64_t nextAtMs;
    uint64_t endMs;
};

// The run in progress; the program's observers are plain functions.
struct Run {
    std::ostream* trace = nullptr;
    bool changesOnly = false;
    uint64_t runningHash = 0xCBF29CE484222325ULL;
    std::optional<FrameKey> lastWritten;
    std::optional<RandomKeys> randomKeys;
    bool check = false;
    bool demo = false;
    uint64_t maxFrames = 0;
    uint8_t demoKey = 0;  // the key the demo player holds
    uint64_t frames = 0;
    uint64_t frameStartNs = 0;
    int violations = 0;
    int soundSlotsAfterStartUp = -1;
    std::vector<std::string> unwrittenShots;
};
Run run;

// Every line of a whole trace goes into the running hash; a shortened trace
// writes only those that are `essential`.
void Emit(const std::string& line, bool essential) {
    run.runningHash = HashStep(run.runningHash, line);
    if (essential || !run.changesOnly) {
        *run.trace << line << '\n';
    }
}

void TraceBoard() {
    if (BoardCells() == nullptr) {
        Emit("board none", true);
        return;
    }
    for (int row = kBoardRows - 1; row >= 0; --row) {
        std::string line = "board row=" + std::to_string(row) + " cells=";
        for (int column = 0; column < kBoardColumns; ++column) {
            line += static_cast<char>('0' + BoardCell(column, row));
        }
        Emit(line, true);
    }
}

int SoundSlotsInUse() {
    int used = 0;
    for (SoundId id = 0; id < 16; ++id) {
        used += SoundStatus(id) != 0xFFFFFFFFu ? 1 : 0;
    }
    return used;
}

// What must hold after every frame, whatever keys were pressed.
std::string BrokenRule() {
    std::string broken = BrokenGameRule(screenState);
    if (!broken.empty()) {
        return broken;
    }
    if (run.soundSlotsAfterStartUp >= 0 && SoundSlotsInUse() != run.soundSlotsAfterStartUp) {
        return "sound slots in use changed from " + std::to_string(run.soundSlotsAfterStartUp) +
               " to " + std::to_string(SoundSlotsInUse());
    }
    return {};
}

void ScheduleRandomKeysUntil(uint64_t untilMs);

void BeforeFrame() {
    run.frameStartNs = fake::VirtualTimeNs();
    if (run.randomKeys) {
        ScheduleRandomKeysUntil(run.frameStartNs / kNsPerMs + kRandomKeyLeadMs);
    }
    const uint8_t key = run.demo && screenState == ScreenState::Playing ? DemoPlayerKey() : 0;
    if (key != run.demoKey) {
        if (run.demoKey != 0) {
            fake::SetKey(run.demoKey, false);
        }
        if (key != 0) {
            fake::SetKey(key, true);
        }
        run.demoKey = key;
    }
}

void AfterFrame(ScreenState ranIn) {
    ++run.frames;
    const PieceState& cur = currentPiece;
    std::ostringstream line;
    line << "frame n=" << run.frames << " t=" << run.frameStartNs / kNsPerMs
         << " state=" << ScreenStateName(ranIn) << " score=" << scoreCounters.score
         << " level=" << scoreCounters.level << " lines=" << scoreCounters.lines
         << " cur=" << cur.shape << ',' << cur.color << ',' << cur.column << ',' << cur.row << ','
         << cur.rotation << " next=" << nextPiece.shape << ',' << nextPiece.color
         << " screen=" << Hex32(fake::PictureHash(fake::Buffer::Visible));
    const FrameKey key{ScreenStateName(ranIn), scoreCounters.score, scoreCounters.level,
                       scoreCounters.lines,    cur.shape,           cur.color,
                       nextPiece.shape,        nextPiece.color};
    Emit(line.str(), false);
    if (run.changesOnly && key != run.lastWritten) {
        *run.trace << line.str() << " run=" << Hex32(run.runningHash) << '\n';
        run.lastWritten = key;
    }
    if (run.frames == run.maxFrames) {
        fake::ScheduleQuit(0, 0);
    }
    if (!run.check) {
        return;
    }
    if (run.soundSlotsAfterStartUp < 0) {
        run.soundSlotsAfterStartUp = SoundSlotsInUse();
    }
    const std::string broken = BrokenRule();
    if (!broken.empty()) {
        ++run.violations;
        Emit("violation frame=" + std::to_string(run.frames) + " what=\"" + broken + "\"", true);
        fake::ScheduleQuit(0, 0);  // end the run at the next message peek
    }
}

void TraceSound(const char* op, SoundId id, uint32_t flags) {
    Emit("sound op=" + std::string(op) + " slot=" + std::to_string(id) +
             " flags=" + std::to_string(flags),
         false);
}

void ScheduleRandomKeysUntil(uint64_t untilMs) {
    static constexpr const char* kKeys[] = {"ESCAPE", "R",  "S",    "G",    "L",    "B",
                                            "N",      "UP", "DOWN", "LEFT", "RIGHT"};
    RandomKeys& keys = *run.randomKeys;
    untilMs = std::min(untilMs, keys.endMs);
    while (keys.nextAtMs < untilMs) {
        keys.nextAtMs += 30 + keys.random() % 600;
        const uint8_t code = KeyCode(kKeys[keys.random() % std::size(kKeys)]);
        const uint64_t hold = 20 + keys.random() % 600;
        fake::ScheduleKey(keys.nextAtMs * kNsPerMs, code, true);
        fake::ScheduleKey((keys.nextAtMs + hold) * kNsPerMs, code, false);
    }
}

void SetUpMachine(const Script& script, const Options& options) {
    fake::Reset();
    fake::SetFileRoot(options.dataDir);
    fake::SetCounterFrequency(script.counterHz);
    fake::SetTimerStartMs(script.startMs);
    // The counter starts where the millisecond reading equals `start`.
    fake::SetCounterStart(static_cast<uint64_t>(script.startMs) * (script.counterHz / 1000));
    fake::SetDisplayLayout(script.layout555 ? fake::Layout::Rgb555 : fake::Layout::Rgb565);
    for (const auto& step : script.failSteps) {
        fake::FailStep(step);
    }
    fake::SetMessageBoxObserver(
        [](const std::string& text) { Emit("msgbox text=\"" + text + "\"", true); });
    for (const TimedAction& action : script.actions) {
        const uint64_t atNs = action.atMs * kNsPerMs;
        switch (action.kind) {
            case TimedAction::Kind::KeyDown:
            case TimedAction::Kind::KeyUp:
                fake::ScheduleKey(atNs, action.scanCode, action.kind == TimedAction::Kind::KeyDown);
                break;
            case TimedAction::Kind::Close:
                fake::ScheduleWindowClose(atNs);
                break;
            case TimedAction::Kind::Shot:
                fake::AtVirtualTime(atNs, [path = options.shotsDir + "/" + action.name + ".png"] {
                    if (!fake::SavePng(fake::Buffer::Visible, path)) {
                        run.unwrittenShots.push_back(path);
                    }
                });
                break;
            case TimedAction::Kind::Board:
                fake::AtVirtualTime(atNs, TraceBoard);
                break;
            case TimedAction::Kind::DemoOn:
            case TimedAction::Kind::DemoOff:
                fake::AtVirtualTime(
                    atNs, [on = action.kind == TimedAction::Kind::DemoOn] { run.demo = on; });
                break;
            case TimedAction::Kind::SwitchAway:
                fake::AtVirtualTime(atNs, fake::SwitchAway);
                break;
            case TimedAction::Kind::SwitchBack:
                fake::AtVirtualTime(atNs, fake::SwitchBack);
                break;
            case TimedAction::Kind::KeyboardLost:
                fake::AtVirtualTime(atNs, fake::LoseKeyboard);
                break;
            case TimedAction::Kind::KeyboardUnplugged:
                fake::AtVirtualTime(atNs, fake::UnplugKeyboard);
                break;
            case TimedAction::Kind::KeyboardPlugged:
                fake::AtVirtualTime(atNs, fake::PlugKeyboard);
                break;
        }
    }
    if (script.endMs) {
        fake::ScheduleQuit(*script.endMs * kNsPerMs, 0);
        if (options.randomSeed) {
            run.randomKeys = RandomKeys{std::mt19937_64(*options.randomSeed), 0, *script.endMs};
            ScheduleRandomKeysUntil(kRandomKeyLeadMs);
        }
    }
}

}  // namespace

Outcome RunScript(const Script& script, const Options& options, std::ostream& trace) {
    run = Run{};
    run.trace = &trace;
    run.check = options.check;
    run.demo = options.demo;
    run.maxFrames = options.maxFrames;
    run.changesOnly = script.traceChangesOnly;
    DemoPlayerReset();
    SetUpMachine(script, options);
    ResetProgramState();
    SetFrameObserver({BeforeFrame, AfterFrame});
    SetSoundObserver(TraceSound);
    Outcome outcome;
    outcome.exitCode = WinMain();
    SetFrameObserver({});
    SetSoundObserver(nullptr);
    fake::SetMessageBoxObserver(nullptr);
    if (run.changesOnly) {
        trace << "frames n=" << run.frames << " run=" << Hex32(run.runningHash) << '\n';
    }
    trace << "exit code=" << outcome.exitCode << '\n';
    outcome.frames = run.frames;
    outcome.violations = run.violations;
    outcome.unwrittenShots = run.unwrittenShots;
    return outcome;
}

}  // namespace korvane::replay
