// Whole games played through the rules alone, on the virtual clock: one won
// by a simple placing player, one lost by letting every piece fall.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>

#include "game/piece_cells.h"
#include "tests/support/rules_fixture.h"

namespace korvane {
namespace {

using testing::RulesTest;

// Everything a trial placement may change, so it can be taken back.
struct Snapshot {
    std::array<uint8_t, kBoardBytes> cells{};
    PieceState current{};
    PieceState next{};
    ScoreCounters counters{};

    static Snapshot Take() {
        Snapshot s;
        std::memcpy(s.cells.data(), BoardCells(), kBoardBytes);
        s.current = currentPiece;
        s.next = nextPiece;
        s.counters = scoreCounters;
        return s;
    }
    void Restore() const {
        std::memcpy(BoardCells(), cells.data(), kBoardBytes);
        currentPiece = current;
        nextPiece = next;
        scoreCounters = counters;
    }
};

class WholeGameTest : public RulesTest {
  protected:
    // The board, the counters and the falling piece are always sound.
    static void CheckInvariants() {
        for (int i = 0; i < kBoardBytes; ++i) {
            ASSERT_LE(BoardCells()[i], 8) << "byte " << i;
        }
        ASSERT_LE(scoreCounters.score, 999999u);
        ASSERT_GE(scoreCounters.level, 1u);
        ASSERT_LT(scoreCounters.lines, 20u);
        ASSERT_GE(currentPiece.shape, 0);
        ASSERT_LT(currentPiece.shape, kShapeCount);
        ASSERT_LE(currentPiece.rotation, 3u);
        ASSERT_LE(currentPiece.color, 7u);
        ASSERT_GE(currentPiece.column, -3);
        ASSERT_LE(currentPiece.column, 12);
        const bool clear = ForEachPieceCell(currentPiece, [](int column, int row) {
            return column >= 0 && column < kBoardColumns && row >= 0 &&
                   (row >= kBoardRows || BoardCell(column, row) == 0);
        });
        ASSERT_TRUE(clear) << "piece at " << PieceCells() << "\n" << BoardPicture();
    }

    // One gravity tick as the frame driver runs it. Returns false when the
    // piece landed and no new piece had room.
    bool Tick(bool* landed = nullptr) {
        fake::AdvanceNs(250'000'000);
        const bool fell = GravityStep() == 1;
        if (landed != nullptr) {
            *landed = !fell;
        }
        bool room = true;
        if (!fell) {
            uint32_t removed = 0;
            while (RemoveFullRow() == 1) {
                ++removed;
            }
            room = SpawnPiece() == 1;
            AddScore(RowScore(removed));
        }
        return room;
    }

    // Turns, shifts and drops the piece; false when a turn or shift was
    // refused. Leaves the game as the landing left it, and `room` false when
    // the next piece had none.
    bool Drop(uint32_t turns, int32_t column, bool checked, bool* room) {
        for (uint32_t t = 0; t < turns; ++t) {
            if (RotatePiece() == 0) {
                return false;
            }
            if (checked) {
                CheckInvariants();
            }
        }
        while (currentPiece.column != column) {
            const int32_t before = currentPiece.column;
            MovePiece(column < before ? MoveLeft : MoveRight);
            if (currentPiece.column == before) {
                return false;
            }
            if (checked) {
                CheckInvariants();
            }
        }
        bool landed = false;
        while (!landed) {
            *room = Tick(&landed);
            if (checked && *room) {
                CheckInvariants();
            }
        }
        return true;
    }

    // Lower is better: tall stacks, covered holes and ragged tops, with rows
    // removed as a reward.
    static double Rate(uint32_t linesBefore, uint32_t levelBefore) {
        std::array<int, kBoardColumns> heights{};
        int holes = 0;
        for (int column = 0; column < kBoardColumns; ++column) {
            for (int row = kBoardRows - 1; row >= 0; --row) {
                if (BoardCell(column, row) != 0 && heights[column] == 0) {
                    heights[column] = row + 1;
                } else if (BoardCell(column, row) == 0 && heights[column] > row) {
                    ++holes;
                }
            }
        }
        int total = 0;
        int bumps = 0;
        for (int column = 0; column < kBoardColumns; ++column) {
            total += heights[column];
            if (column > 0) {
                bumps += std::abs(heights[column] - heights[column - 1]);
            }
        }
        const auto removed = static_cast<double>((scoreCounters.level - levelBefore) * 20 +
                                                 scoreCounters.lines - linesBefore);
        return 0.51 * total + 0.36 * holes + 0.18 * bumps - 0.76 * removed;
    }

    void PlayOnePiece() {
        for (int i = 0; i < 3; ++i) {  // down to row 21, where the player may act
            ASSERT_TRUE(Tick());
            CheckInvariants();
        }
        ASSERT_EQ(currentPiece.row, 21);
        const Snapshot before = Snapshot::Take();
        double best = std::numeric_limits<double>::max();
        uint32_t bestTurns = 0;
        int32_t bestColumn = currentPiece.column;
        for (uint32_t turns = 0; turns < 4; ++turns) {
            for (int32_t column = -3; column <= 12; ++column) {
                bool room = true;
                if (Drop(turns, column, false, &room) && room) {
                    const double rating = Rate(before.counters.lines, before.counters.level);
                    if (rating < best) {
                        best = rating;
                        bestTurns = turns;
                        bestColumn = column;
                    }
                }
                before.Restore();
            }
        }
        ASSERT_TRUE(Drop(bestTurns, bestColumn, true, &alive_));
        ++pieces_;
    }

    int pieces_ = 0;
    bool alive_ = true;
};

TEST_F(WholeGameTest, PlacingPlayerWinsAtLevelElevenAfterTwoHundredRows) {
    ASSERT_EQ(SpawnPiece(), 1);
    uint32_t rows = 0;
    uint32_t lastScore = 0;
    while (IsGameWon() == 0) {
        ASSERT_TRUE(alive_) << "lost after " << rows << " rows\n" << BoardPicture();
        ASSERT_LT(pieces_, 2000) << "no win in sight";
        const ScoreCounters before = scoreCounters;
        PlayOnePiece();
        if (HasFatalFailure()) {
            return;
        }
        const uint32_t now = (scoreCounters.level - 1) * 20 + scoreCounters.lines;
        const uint32_t removed = now - ((before.level - 1) * 20 + before.lines);
        ASSERT_LE(removed, 4u);
        EXPECT_EQ(scoreCounters.score, before.score + RowScore(removed));
        ASSERT_GE(scoreCounters.score, lastScore);
        lastScore = scoreCounters.score;
        rows = now;
    }
    // The landing that reached 200 rows may have removed up to three more.
    EXPECT_GE(rows, 200u);
    EXPECT_LE(rows, 203u);
    EXPECT_EQ(scoreCounters.level, 11u);
    EXPECT_EQ(scoreCounters.lines, rows - 200);
    EXPECT_GT(scoreCounters.score, 200u * 10 - 1);
}

TEST_F(WholeGameTest, LettingEveryPieceFallEndsInGameOver) {
    ASSERT_EQ(SpawnPiece(), 1);
    int ticks = 0;
    bool landed = false;
    while (Tick(&landed)) {
        pieces_ += landed ? 1 : 0;
        CheckInvariants();
        ASSERT_LT(++ticks, 100000);
    }
    // The game ended because an entry cell of the top visible row is taken.
    bool entryTaken = false;
    for (int column = 5; column <= 9; ++column) {
        entryTaken = entryTaken || BoardCell(column, 19) != 0;
    }
    EXPECT_TRUE(entryTaken) << BoardPicture();
    EXPECT_GT(pieces_, 4);
    EXPECT_EQ(scoreCounters.score, 0u) << "a single stack never fills a row";
    EXPECT_EQ(SpawnPiece(), 0) << "the model stays over until the board is cleared";
}

}  // namespace
}  // namespace korvane
