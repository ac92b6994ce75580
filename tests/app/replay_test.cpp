// korvane-replay: its scripts and traces, and whole runs of the program from
// launch to exit.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/program_state.h"
#include "app/screen_state.h"
#include "app/win_main.h"
#include "game/board.h"
#include "game/piece_cells.h"
#include "input/key_map.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_window.h"
#include "tests/app/app_fixture.h"
#include "tests/support/test_assets.h"
#include "tools/replay/replay_script.h"
#include "tools/replay/rule_check.h"

namespace korvane {
namespace {

using testing::Replay;

// Frames start 40 ms apart; after start-up and the first wipe the main menu
// is waiting for keys by 8.5 s.
constexpr const char* kStartGame = "at 8500 down N\nat 8600 up N\n";

TEST(ReplayScript, ParsesEveryCommandAndNamesTheBadLine) {
    std::string error;
    const auto script = replay::ParseScript(
        "# a comment\n\ncounter 3579545\nstart 1000\nlayout 555\nfail display.flip\n"
        "at 10 down LEFT\nat 20 up LEFT\nat 30 shot menu\nat 40 board\nat 50 close\nend 60\n"
        "trace changes\nat 70 demo on\n",
        &error);
    ASSERT_TRUE(script.has_value()) << error;
    EXPECT_EQ(script->counterHz, 3579545u);
    EXPECT_EQ(script->startMs, 1000u);
    EXPECT_TRUE(script->layout555);
    EXPECT_EQ(script->failSteps, std::vector<std::string>{"display.flip"});
    EXPECT_TRUE(script->traceChangesOnly);
    ASSERT_EQ(script->actions.size(), 6u);
    EXPECT_EQ(script->actions[0].scanCode, 0xCB);
    EXPECT_EQ(script->actions[2].name, "menu");
    EXPECT_EQ(script->endMs, 60u);

    for (const char* bad :
         {"at 10 down SPACE", "at x down N", "layout 444", "jump 5", "end", "at 10 shot ../escape",
          "counter 12 13", "fail display.flipp", "at 10 demo maybe", "trace all"}) {
        EXPECT_FALSE(replay::ParseScript(std::string("end 5\n") + bad + "\n", &error)) << bad;
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    }
}

// A piece entering over blocks left in the hidden rows is what the rules
// produce after a landing that also cleared row 19; overlap in the visible
// well never is.
TEST(RuleCheck, OverlapIsBrokenOnlyInTheVisibleWell) {
    fake::Reset();
    ResetProgramState();
    ASSERT_EQ(AllocateBoard(), 1);
    ClearBoard();
    currentPiece = PieceState{1, 0, kSpawnColumn, kSpawnRow - 2, 0};  // the bar, upright
    std::vector<std::pair<int, int>> cells;
    ForEachPieceCell(currentPiece, [&cells](int column, int row) {
        cells.emplace_back(column, row);
        return true;
    });
    ASSERT_EQ(cells.size(), 4u);
    for (const auto& [column, row] : cells) {
        if (row >= kVisibleRows && row < kBoardRows) {
            BoardCells()[row * kBoardColumns + column] = 3;
        }
    }
    EXPECT_EQ(replay::BrokenGameRule(ScreenState::Playing), "");
    currentPiece.row -= 2;  // now its lowest cell is in row 19, on a block
    const auto [column, row] = cells.back();
    BoardCells()[(row - 2) * kBoardColumns + column] = 3;
    ASSERT_LT(row - 2, kVisibleRows);
    EXPECT_EQ(replay::BrokenGameRule(ScreenState::Playing),
              "the falling piece overlaps settled cells");
    EXPECT_EQ(replay::BrokenGameRule(ScreenState::GameOver), "") << "the frame a game ends";
    FreeBoard();
}

// The exit code is the one a quit message carried, and 0 when the game chose
// to leave, whatever other messages carried before.
TEST(MessageLoop, ExitCodeComesFromTheQuitMessageOrIsZero) {
    fake::Reset();
    fake::SetFileRoot(testing::TestAssetsFolder());
    fake::ScheduleQuit(9'000'000'000, 3);
    EXPECT_EQ(WinMain(), 3);

    fake::Reset();
    fake::SetFileRoot(testing::TestAssetsFolder());
    fake::PostOtherMessage(0x45);  // a host key message, taken at the first turn
    fake::ScheduleKey(8'500'000'000, kKeyE, true);
    EXPECT_EQ(WinMain(), 0);
    EXPECT_EQ(screenState, ScreenState::Quit);
}

TEST(Replay, BoardAndShotAreTakenAtTheirTime) {
    const testing::ScratchFolder folder("korvane-shots");
    const std::string& shots = folder.path();
    replay::Options options;
    options.shotsDir = shots;
    const auto result = Replay("at 2000 shot loading\nat 2000 board\nend 3000\n", options);
    EXPECT_TRUE(std::ifstream(shots + "/loading.png").good());
    EXPECT_TRUE(result.outcome.unwrittenShots.empty());
    size_t boardLines = 0;
    for (const auto& line : result.lines) {
        boardLines += line.rfind("board ", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(boardLines, 1u) << "no board yet during start-up: 'board none'";

    // A shot that cannot be written is not lost in silence: the run names it.
    options.shotsDir = shots + "/loading.png";  // a file, not a folder
    const auto unwritable = Replay("at 2000 shot menu\nend 3000\n", options);
    EXPECT_EQ(unwritable.outcome.unwrittenShots,
              std::vector<std::string>{shots + "/loading.png/menu.png"});
}

// The first main menu of a run sees the ticks as they are at program start,
// after whatever ran before in the same process.
TEST(Replay, ResumeFromTheFirstMenuPlaysThePreparedGame) {
    Replay(std::string(kStartGame) + "end 20000\n");  // leaves a game with both ticks set
    const auto result = Replay("at 8500 down R\nat 8600 up R\nend 9500\n");
    const size_t play = result.FirstFrame("Playing");
    ASSERT_LT(play, result.frames.size());
    ASSERT_GT(play, 0u);
    // The piece prepared at start-up, and both ticks due at once: the first
    // play frame already ran a gravity step (row 24 to 23).
    const auto& before = result.frames[play - 1];
    const auto& after = result.frames[play];
    EXPECT_EQ(before.column, 5);
    EXPECT_EQ(before.row, 24);
    EXPECT_EQ(after.row, 23);
    EXPECT_EQ(after.shape, before.shape);
    EXPECT_EQ(after.color, before.color);
}

}  // namespace
}  // namespace korvane
