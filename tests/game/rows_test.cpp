// Removing full rows, counting lines and levels, the score and the win.
#include <gtest/gtest.h>

#include "tests/support/rules_fixture.h"

namespace korvane {
namespace {

using testing::PlayCount;
using testing::RulesTest;

using RowsTest = RulesTest;

// Removes every full row as the frame driver does; returns how many went.
uint32_t RemoveAllFullRows() {
    uint32_t removed = 0;
    while (RemoveFullRow() == 1) {
        ++removed;
    }
    return removed;
}

TEST_F(RowsTest, NoFullRowChangesNothing) {
    FillRow(0, 12);
    EXPECT_EQ(RemoveFullRow(), 0);
    EXPECT_EQ(BoardCell(0, 0), 1);
    EXPECT_EQ(scoreCounters.lines, 0u);
    EXPECT_EQ(PlayCount(ThudSound), 0);
}

TEST_F(RowsTest, RowsThreeAndFiveGoInTwoCallsAndScoreTwentyFive) {
    FillRow(3);
    FillRow(4, 6);
    FillRow(5);
    SetCell(2, 6, 5);
    EXPECT_EQ(RemoveFullRow(), 1);
    EXPECT_EQ(BoardCell(6, 3), 0) << "row 4 with its gap moved down to row 3";
    EXPECT_EQ(RemoveFullRow(), 1) << "the old row 5 is now row 4";
    EXPECT_EQ(RemoveFullRow(), 0);
    EXPECT_EQ(BoardCell(2, 4), 5) << "row 6 moved down by two";
    EXPECT_EQ(BoardCell(2, 6), 0);
    EXPECT_EQ(PlayCount(ThudSound), 2);
    AddScore(RowScore(2));
    EXPECT_EQ(scoreCounters.score, 25u);
    EXPECT_EQ(scoreCounters.lines, 2u);
}

TEST_F(RowsTest, FourRowsScoreAHundredAndLeaveTheTopEmpty) {
    for (int row = 0; row < 4; ++row) {
        FillRow(row);
    }
    for (int row = 4; row < 20; ++row) {
        SetCell(row % kBoardColumns, row, 2);
    }
    ASSERT_EQ(RemoveAllFullRows(), 4u);
    AddScore(RowScore(4));
    EXPECT_EQ(scoreCounters.score, 100u);
    for (int row = 0; row < 16; ++row) {
        EXPECT_EQ(BoardCell((row + 4) % kBoardColumns, row), 2) << "row " << row;
    }
    for (int row = 16; row < 20; ++row) {
        for (int column = 0; column < kBoardColumns; ++column) {
            EXPECT_EQ(BoardCell(column, row), 0);
        }
    }
}

TEST_F(RowsTest, TopVisibleRowGoesAndHiddenRowsStay) {
    FillRow(18, 0);
    FillRow(19);
    FillRow(20);  // full, but hidden rows are never removed
    SetCell(7, 22, 6);
    ASSERT_EQ(RemoveAllFullRows(), 1u);
    for (int column = 0; column < kBoardColumns; ++column) {
        EXPECT_EQ(BoardCell(column, 19), 0) << "row 19 is empty under the hidden rows";
        EXPECT_EQ(BoardCell(column, 18), column == 0 ? 0 : 1) << "rows below stay";
        EXPECT_EQ(BoardCell(column, 20), 1);
    }
    EXPECT_EQ(BoardCell(7, 22), 6);
}

TEST_F(RowsTest, LevelRisesInTheMiddleOfASeries) {
    scoreCounters.lines = 19;
    FillRow(0);
    FillRow(1);
    EXPECT_EQ(RemoveAllFullRows(), 2u);
    EXPECT_EQ(scoreCounters.level, 2u);
    EXPECT_EQ(scoreCounters.lines, 1u);
}

TEST_F(RowsTest, ScoreIsHeldAtItsCap) {
    scoreCounters.score = 999999 - 10;
    AddScore(RowScore(2));
    EXPECT_EQ(scoreCounters.score, 999999u);
    AddScore(0xFFFFFFFFu);
    EXPECT_EQ(scoreCounters.score, 999999u) << "even a sum that would wrap";
}

TEST_F(RowsTest, RowScoreTableAndItsOtherCounts) {
    EXPECT_EQ(RowScore(0), 0u);
    EXPECT_EQ(RowScore(1), 10u);
    EXPECT_EQ(RowScore(2), 25u);
    EXPECT_EQ(RowScore(3), 60u);
    EXPECT_EQ(RowScore(4), 100u);
    EXPECT_EQ(RowScore(5), 0u);
}

TEST_F(RowsTest, TwoHundredRowsWinAtLevelEleven) {
    for (int removed = 1; removed <= 200; ++removed) {
        FillRow(0);
        ASSERT_EQ(RemoveFullRow(), 1);
        EXPECT_EQ(IsGameWon(), removed == 200 ? 1 : 0) << removed;
    }
    EXPECT_EQ(scoreCounters.level, 11u);
    EXPECT_EQ(scoreCounters.lines, 0u);
    ResetCounters();
    EXPECT_EQ(scoreCounters.score, 0u);
    EXPECT_EQ(scoreCounters.level, 1u);
    EXPECT_EQ(IsGameWon(), 0);
}

}  // namespace
}  // namespace korvane
