// The play frame: the 100 ms input and 250 ms gravity ticks, the key order,
// Escape and Resume, and the end of a game.
#include <gtest/gtest.h>

#include <cstring>

#include "app/frame.h"
#include "app/menus.h"
#include "app/screen_state.h"
#include "game/board.h"
#include "game/piece_cells.h"
#include "game/scoring.h"
#include "input/key_map.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "tests/app/app_fixture.h"
#include "timing/clock.h"

namespace korvane {
namespace {

using testing::FrameTest;

class PlayFrameTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        RunFrame();  // the first menu frame, with its wipe
        Hold(kKeyN);
        RunFrame();
        Release(kKeyN);
        ASSERT_EQ(State(), "Playing");
    }
    // Runs play frames until the piece may be moved by the player.
    static void FallToRowTwentyOne() {
        while (currentPiece.row > 21) {
            RunFrame();
        }
    }
    // Whether the falling piece lies on the floor or a block: the next
    // gravity step locks it.
    static bool Resting() {
        return !ForEachPieceCell(currentPiece, [](int column, int row) {
            return row > 0 && BoardCell(column, row - 1) == 0;
        });
    }
    static int SoundPlays(SoundId id, uint32_t flags) {
        int plays = 0;
        for (const auto& call : fake::SoundCalls()) {
            plays += (call.op == "play" && call.slot == id && call.flags == flags) ? 1 : 0;
        }
        return plays;
    }
};

// A tick is due once strictly more than its interval has passed, also when
// the millisecond clock wrapped in between.
TEST(TickTest, DueStrictlyAfterItsIntervalAndAcrossTheWrap) {
    EXPECT_FALSE(TickDue(1250, 1000, kGravityIntervalMs));
    EXPECT_TRUE(TickDue(1251, 1000, kGravityIntervalMs));
    EXPECT_FALSE(TickDue(0xFFFFFFF0u + 100, 0xFFFFFFF0u, kInputIntervalMs));
    EXPECT_TRUE(TickDue(0x00000010u, 0xFFFFFF80u, kInputIntervalMs)) << "144 ms across the wrap";
    EXPECT_FALSE(TickDue(0x00000010u, 0xFFFFFF80u, kGravityIntervalMs));
}

TEST_F(PlayFrameTest, GravityEveryQuarterSecondAndMusicLooping) {
    RunFrame();
    EXPECT_EQ(SoundPlays(gameMusic, kPlayLooping), 1);
    int32_t row = currentPiece.row;
    uint64_t lastFall = NowVirtualMs();
    int falls = 0;
    for (int i = 0; i < 40; ++i) {
        RunFrame();
        if (currentPiece.row != row) {
            EXPECT_EQ(currentPiece.row, row - 1);
            const uint64_t now = NowVirtualMs();
            if (falls > 0) {
                EXPECT_GT(now - lastFall, 250u);
                EXPECT_LT(now - lastFall, 340u);
            }
            lastFall = now;
            row = currentPiece.row;
            ++falls;
        }
    }
    EXPECT_GE(falls, 4);
    EXPECT_EQ(SoundPlays(gameMusic, kPlayLooping), 1) << "started once, then it loops";
}

TEST_F(PlayFrameTest, HeldLeftMovesOneColumnPerInputSample) {
    FallToRowTwentyOne();
    Hold(kKeyLeft);
    int32_t column = currentPiece.column;
    uint64_t lastMove = 0;
    int moves = 0;
    for (int i = 0; i < 30 && moves < 4; ++i) {
        RunFrame();
        if (currentPiece.column != column) {
            EXPECT_EQ(currentPiece.column, column - 1);
            const uint64_t now = NowVirtualMs();
            if (moves > 0) {
                EXPECT_GT(now - lastMove, 100u) << "never more than ten a second";
            }
            lastMove = now;
            column = currentPiece.column;
            ++moves;
        }
    }
    EXPECT_EQ(moves, 4);
}

TEST_F(PlayFrameTest, KeyUpAndReleasedBetweenSamplesIsIgnored) {
    FallToRowTwentyOne();
    RunUntilKeysSampled();
    const int32_t column = currentPiece.column;
    // A frame lasts 40 ms and a sample comes every 100 ms or more: the press
    // falls between this sample and the next.
    Hold(kKeyLeft);
    RunFrame();
    Release(kKeyLeft);
    RunUntilKeysSampled();
    RunUntilKeysSampled();
    EXPECT_EQ(currentPiece.column, column);
}

TEST_F(PlayFrameTest, EscapeBeatsTheArrowsAndTheFrameIsStillDrawn) {
    FallToRowTwentyOne();
    const int32_t column = currentPiece.column;
    Hold(kKeyEscape);
    Hold(kKeyLeft);
    RunUntilKeysSampled();
    Release(kKeyEscape);
    Release(kKeyLeft);
    EXPECT_EQ(State(), "MainMenu");
    EXPECT_EQ(currentPiece.column, column);
    EXPECT_EQ(SoundStatus(gameMusic) & kStatusPlaying, 0u) << "Escape stops the music";
}

TEST_F(PlayFrameTest, UpBeatsLeftWhetherOrNotTheTurnFits) {
    FallToRowTwentyOne();
    PieceState before = currentPiece;
    lastGravityTick = NowMs();  // no gravity step in the sampled frame
    Hold(kKeyUp);
    Hold(kKeyLeft);
    RunUntilKeysSampled();
    EXPECT_EQ(currentPiece.rotation, (before.rotation + 1) % 4) << "the piece turned";
    EXPECT_EQ(currentPiece.column, before.column) << "and Left was not looked at";
    RecordProperty("shape", currentPiece.shape);
    if (currentPiece.shape == 0) {
        return;  // the square turns into its own cells: it cannot be blocked
    }
    // Wall the piece in: every cell around it up to row 21 is taken (one
    // column stays open so no row is full).
    before = currentPiece;
    for (int row = 0; row <= 21; ++row) {
        for (int column = 0; column < kBoardColumns - 1; ++column) {
            BoardCells()[row * kBoardColumns + column] = 1;
        }
    }
    ForEachPieceCell(currentPiece, [](int column, int row) {
        BoardCells()[row * kBoardColumns + column] = 0;
        return true;
    });
    lastGravityTick = NowMs();
    RunUntilKeysSampled();
    Release(kKeyUp);
    Release(kKeyLeft);
    EXPECT_EQ(currentPiece.rotation, before.rotation) << "the turn does not fit";
    EXPECT_EQ(currentPiece.column, before.column) << "and Left still does not act";
}

TEST_F(PlayFrameTest, EscapeThenResumeContinuesTheSamePiece) {
    FallToRowTwentyOne();
    for (int i = 0; i < 10; ++i) {
        RunFrame();
    }
    scoreCounters.score = 1234;
    Hold(kKeyEscape);
    RunUntilKeysSampled();
    Release(kKeyEscape);
    const PieceState left = currentPiece;
    RunFrame();  // the main menu, with its wipe
    ASSERT_EQ(State(), "MainMenu");
    Hold(kKeyR);
    RunFrame();
    Release(kKeyR);
    ASSERT_EQ(State(), "Playing");
    fake::ClearSoundCalls();
    RunFrame();
    EXPECT_EQ(currentPiece.shape, left.shape);
    EXPECT_EQ(currentPiece.color, left.color);
    EXPECT_EQ(currentPiece.column, left.column);
    EXPECT_LE(left.row - currentPiece.row, 1) << "at most the gravity step that was due";
    EXPECT_EQ(scoreCounters.score, 1234u);
    EXPECT_EQ(SoundPlays(gameMusic, kPlayLooping), 1) << "the music starts again from its start";
}

TEST_F(PlayFrameTest, GameOverWinsOverEscapeInTheSameFrame) {
    // The entry of the top row is taken: the next landing ends the game.
    for (int column = 5; column <= 9; ++column) {
        BoardCells()[19 * kBoardColumns + column] = 1;
    }
    while (!Resting()) {
        RunFrame();
        ASSERT_EQ(State(), "Playing");
    }
    // Both ticks due in the next frame: Escape is sampled, then the piece lands.
    lastInputTick = 0;
    lastGravityTick = 0;
    Hold(kKeyEscape);
    RunFrame();
    Release(kKeyEscape);
    EXPECT_EQ(State(), "GameOver");
}

TEST_F(PlayFrameTest, GameOverFrameStopsEverythingPausesAndResets) {
    uint8_t* cells = BoardCells();
    cells[19 * kBoardColumns + 9] = 1;
    std::memset(cells, 2, kBoardColumns * 18);
    for (int row = 0; row < 18; ++row) {
        cells[row * kBoardColumns + 3] = 0;
    }
    scoreCounters.score = 500;
    ASSERT_TRUE(RunUntil("GameOver", 400));
    fake::ClearSoundCalls();
    const uint64_t start = NowVirtualMs();
    RunFrame();
    EXPECT_GE(NowVirtualMs() - start, 2000u);
    EXPECT_LT(NowVirtualMs() - start, 2100u);
    EXPECT_EQ(State(), "MainMenu");
    EXPECT_EQ(scoreCounters.score, 0u);
    EXPECT_EQ(scoreCounters.level, 1u);
    for (int i = 0; i < kBoardBytes; ++i) {
        ASSERT_EQ(BoardCells()[i], 0);
    }
    EXPECT_EQ(SoundStatus(gameMusic) & kStatusPlaying, 0u);
    ASSERT_FALSE(fake::SoundCalls().empty());
    EXPECT_EQ(fake::SoundCalls().front().op, "stop");
    EXPECT_EQ(menuWipePending, 1u) << "the menu comes back with its wipe";
}

}  // namespace
}  // namespace korvane
