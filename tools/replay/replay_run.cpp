#include "tools/replay/replay_run.h"

#include <random>
#include <sstream>

#include "app/frame.h"
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

namespace korvane::replay {
namespace {

constexpr uint64_t kNsPerMs = 1'000'000;

// The run in progress; the program's observers are plain functions.
struct Run {
    std::ostream* trace = nullptr;
    bool check = false;
    bool demo = false;
    uint64_t maxFrames = 0;
    uint8_t demoKey = 0;  // the key the demo player holds
    uint64_t frames = 0;
    uint64_t frameStartNs = 0;
    int violations = 0;
    int soundSlotsAfterStartUp = -1;
};
Run run;

void TraceBoard() {
    if (BoardCells() == nullptr) {
        *run.trace << "board none\n";
        return;
    }
    for (int row = kBoardRows - 1; row >= 0; --row) {
        *run.trace << "board row=" << row << " cells=";
        for (int column = 0; column < kBoardColumns; ++column) {
            *run.trace << static_cast<int>(BoardCell(column, row));
        }
        *run.trace << '\n';
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
    if (BoardCells() == nullptr) {
        return "the board is gone";
    }
    for (int i = 0; i < kBoardBytes; ++i) {
        if (BoardCells()[i] > 8) {
            return "board byte " + std::to_string(i) + " holds " + std::to_string(BoardCells()[i]);
        }
    }
    const ScoreCounters& c = scoreCounters;
    if (c.score > kMaxScore || c.level < 1 || c.level > 11 || c.lines >= kRowsPerLevel) {
        return "counters out of range";
    }
    const PieceState& p = currentPiece;
    if (p.shape < 0 || p.shape >= kShapeCount || p.rotation > 3 || p.color > 7 || p.column < -3 ||
        p.column > 12 || p.row > kSpawnRow) {
        return "falling piece out of range";
    }
    // Deliberate exception: in the frame a game ends, the new piece may have
    // come into play over settled cells; the end frame resets the game.
    const bool ending = screenState == ScreenState::GameOver || screenState == ScreenState::Won;
    // A landing can leave blocks in the hidden rows and clear row 19 in the
    // same frame; the next piece then enters over those blocks, as the rules
    // allow. Only the visible well must never be overlapped.
    const bool clear = ForEachPieceCell(p, [](int column, int row) {
        return column >= 0 && column < kBoardColumns && row >= 0 &&
               (row >= kVisibleRows || BoardCell(column, row) == 0);
    });
    if (!clear && !ending) {
        return "the falling piece overlaps settled cells";
    }
    if (run.soundSlotsAfterStartUp >= 0 && SoundSlotsInUse() != run.soundSlotsAfterStartUp) {
        return "sound slots in use changed from " + std::to_string(run.soundSlotsAfterStartUp) +
               " to " + std::to_string(SoundSlotsInUse());
    }
    return {};
}

void BeforeFrame() {
    run.frameStartNs = fake::VirtualTimeNs();
    if (!run.demo) {
        return;
    }
    const uint8_t key = screenState == ScreenState::Playing ? DemoPlayerKey() : 0;
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
    *run.trace << "frame n=" << run.frames << " t=" << run.frameStartNs / kNsPerMs
               << " state=" << ScreenStateName(ranIn) << " score=" << scoreCounters.score
               << " level=" << scoreCounters.level << " lines=" << scoreCounters.lines
               << " cur=" << cur.shape << ',' << cur.color << ',' << cur.column << ',' << cur.row
               << ',' << cur.rotation << " next=" << nextPiece.shape << ',' << nextPiece.color
               << '\n';
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
        *run.trace << "violation frame=" << run.frames << " what=\"" << broken << "\"\n";
        fake::ScheduleQuit(0, 0);  // end the run at the next message peek
    }
}

void TraceSound(const char* op, SoundId id, uint32_t flags) {
    *run.trace << "sound op=" << op << " slot=" << id << " flags=" << flags << '\n';
}

void ScheduleRandomKeys(uint64_t seed, uint64_t untilMs) {
    static constexpr const char* kKeys[] = {"ESCAPE", "R",  "S",    "G",    "L",    "B",
                                            "N",      "UP", "DOWN", "LEFT", "RIGHT"};
    std::mt19937_64 random(seed);
    uint64_t at = 0;
    while (at < untilMs) {
        at += 30 + random() % 600;
        const uint8_t code = KeyCode(kKeys[random() % std::size(kKeys)]);
        const uint64_t hold = 20 + random() % 600;
        fake::ScheduleKey(at * kNsPerMs, code, true);
        fake::ScheduleKey((at + hold) * kNsPerMs, code, false);
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
        [](const std::string& text) { *run.trace << "msgbox text=\"" << text << "\"\n"; });
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
                    fake::SavePng(fake::Buffer::Visible, path);
                });
                break;
            case TimedAction::Kind::Board:
                fake::AtVirtualTime(atNs, TraceBoard);
                break;
        }
    }
    if (script.endMs) {
        fake::ScheduleQuit(*script.endMs * kNsPerMs, 0);
        if (options.randomSeed) {
            ScheduleRandomKeys(*options.randomSeed, *script.endMs);
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
    DemoPlayerReset();
    SetUpMachine(script, options);
    SetFrameObserver({BeforeFrame, AfterFrame});
    SetSoundObserver(TraceSound);
    Outcome outcome;
    outcome.exitCode = WinMain();
    SetFrameObserver({});
    SetSoundObserver(nullptr);
    fake::SetMessageBoxObserver(nullptr);
    trace << "exit code=" << outcome.exitCode << '\n';
    outcome.frames = run.frames;
    outcome.violations = run.violations;
    return outcome;
}

}  // namespace korvane::replay
