// Allocation, clearing, spawning with the game-over test, and locking.
#include <gtest/gtest.h>

#include "tests/support/rules_fixture.h"

namespace korvane {
namespace {

using testing::RulesTest;

class SpawnTest : public RulesTest {
  protected:
    // The millisecond timer as the only clock, standing still at `ms` for
    // every read, so each draw of a spawn is predictable.
    static void FreezeClockAt(uint32_t ms) {
        fake::SetCounterFrequency(0);
        fake::SetTimerStartMs(ms);
        fake::SetReadStepNs(0);
        InitClock();
    }
};

TEST_F(SpawnTest, FirstSpawnAfterClearDrawsBothPiecesOnAnEmptyBoard) {
    ASSERT_EQ(SpawnPiece(), 1);
    EXPECT_NE(currentPiece.shape, kNoShape);
    EXPECT_NE(nextPiece.shape, kNoShape);
    for (const PieceState* piece : {&currentPiece, &nextPiece}) {
        EXPECT_EQ(piece->column, 5);
        EXPECT_EQ(piece->row, 24);
        EXPECT_EQ(piece->rotation, 0u);
        EXPECT_LE(piece->color, 7u);
    }
    for (int i = 0; i < kBoardBytes; ++i) {
        ASSERT_EQ(BoardCells()[i], 0) << "byte " << i;
    }
}

TEST_F(SpawnTest, ShapeIsTheFirstReadingModSevenAndColourTheSecondAndSeven) {
    FreezeClockAt(1000);
    ASSERT_EQ(SpawnPiece(), 1);
    // Four readings in one millisecond: both pieces are the same.
    EXPECT_EQ(currentPiece.shape, 6);
    EXPECT_EQ(currentPiece.color, 0u);
    EXPECT_EQ(nextPiece.shape, 6);
    EXPECT_EQ(nextPiece.color, 0u);

    FreezeClockAt(1003);  // 1003 % 7 = 2, 1003 & 7 = 3
    ASSERT_EQ(SpawnPiece(), 1);
    EXPECT_EQ(currentPiece.shape, 6) << "the old next piece comes into play";
    EXPECT_EQ(nextPiece.shape, 2);
    EXPECT_EQ(nextPiece.color, 3u);
}

TEST_F(SpawnTest, ColourAndShapeComeFromSeparateReadings) {
    fake::SetCounterFrequency(0);
    fake::SetTimerStartMs(1000);
    fake::SetReadStepNs(1'000'000);  // one millisecond per reading
    InitClock();
    ASSERT_EQ(SpawnPiece(), 1);
    EXPECT_EQ(currentPiece.shape, 1000 % 7);
    EXPECT_EQ(currentPiece.color, 1001u & 7);
    EXPECT_EQ(nextPiece.shape, 1002 % 7);
    EXPECT_EQ(nextPiece.color, 1003u & 7);
}

TEST_F(SpawnTest, GameOverLooksOnlyAtTheFiveEntryCellsOfRowNineteen) {
    SpawnPiece();
    SetCell(4, 19, 1);
    SetCell(10, 19, 1);
    for (int row = 20; row < kBoardRows; ++row) {
        for (int column = 0; column < kBoardColumns; ++column) {
            SetCell(column, row, 3);
        }
    }
    EXPECT_EQ(SpawnPiece(), 1) << "neighbours of the entry and the hidden rows never end it";

    SetCell(9, 19, 1);  // no piece ever enters column 9, yet it counts
    const PieceState waiting = nextPiece;
    EXPECT_EQ(SpawnPiece(), 0);
    EXPECT_EQ(currentPiece.shape, waiting.shape) << "the next piece still moves in";
    EXPECT_EQ(nextPiece.shape, waiting.shape) << "but no new one is drawn";
}

TEST_F(SpawnTest, EachEntryCellEndsTheGame) {
    for (int column = 5; column <= 9; ++column) {
        ClearBoard();
        SetCell(column, 19, 2);
        EXPECT_EQ(SpawnPiece(), 0) << "column " << column;
    }
}

TEST_F(SpawnTest, LockWritesColourPlusOne) {
    SpawnPiece();
    Place(1, 0, 5, 3, 0);
    LockPiece();
    for (int row = 0; row <= 3; ++row) {
        EXPECT_EQ(BoardCell(5, row), 1);
    }
    Place(0, 0, 0, 10, 7);
    LockPiece();
    EXPECT_EQ(BoardCell(1, 9), 8);
    EXPECT_EQ(BoardCell(2, 8), 8);
    EXPECT_EQ(BoardCell(0, 9), 0);
}

TEST_F(SpawnTest, StartingPlaceCoversTheHiddenRows) {
    Place(1, 0, 5, 24);
    EXPECT_EQ(PieceCells(), "5,24 5,23 5,22 5,21");
    Place(0, 0, 5, 24);
    EXPECT_EQ(PieceCells(), "6,23 7,23 6,22 7,22");
}

TEST_F(SpawnTest, PieceLockedAboveTheBoardEndsTheGameWithoutWritingOutside) {
    ASSERT_EQ(SpawnPiece(), 1);
    // Blocks settled in the hidden rows right under the entry place.
    for (int column = 4; column <= 10; ++column) {
        SetCell(column, 22, 4);
    }
    Place(2, 0, 5, 24, 2);  // T: top row at 24, its stem at row 23
    EXPECT_EQ(GravityStep(), 0);
    EXPECT_EQ(BoardCell(6, 23), 3) << "the cell inside the board is kept";
    EXPECT_EQ(BoardCell(5, 23), 0);
    EXPECT_EQ(BoardCell(7, 23), 0);
    for (int column = 0; column < kBoardColumns; ++column) {
        EXPECT_EQ(BoardCell(column, 19), 0);
    }
    EXPECT_EQ(SpawnPiece(), 0) << "the cells above the board end the game";
    ClearBoard();
    EXPECT_EQ(SpawnPiece(), 1) << "a new game starts afresh";
}

TEST(BoardMemory, AllocationFailureAndFreeingTwice) {
    fake::Reset();
    fake::FailStep("alloc.board");
    EXPECT_EQ(AllocateBoard(), 0);
    EXPECT_EQ(BoardCells(), nullptr);
    EXPECT_EQ(FreeBoard(), 1) << "freeing a board never allocated does nothing";
    fake::Reset();
    ASSERT_EQ(AllocateBoard(), 1);
    EXPECT_NE(BoardCells(), nullptr);
    EXPECT_EQ(FreeBoard(), 1);
    EXPECT_EQ(BoardCells(), nullptr);
}

}  // namespace
}  // namespace korvane
