// Moves, turns, contact and the gravity step, at the walls, the floor and
// the guard rows.
#include <gtest/gtest.h>

#include "tests/support/rules_fixture.h"

namespace korvane {
namespace {

using testing::PlayCount;
using testing::RulesTest;

using MovementTest = RulesTest;

constexpr int32_t kSquare = 0, kBar = 1, kT = 2, kL = 3, kMirroredL = 4, kS = 5, kZ = 6;

TEST_F(MovementTest, PlayerGuardHoldsAboveRowTwentyOne) {
    for (int32_t row : {24, 23, 22}) {
        Place(kT, 0, 5, row);
        EXPECT_EQ(MovePiece(MoveLeft), 0) << row;
        EXPECT_EQ(MovePiece(MoveRight), 0) << row;
        EXPECT_EQ(MovePiece(MoveDown), 0) << row;
        EXPECT_EQ(RotatePiece(), 0) << row;
        EXPECT_EQ(currentPiece.column, 5);
        EXPECT_EQ(currentPiece.row, row);
        EXPECT_EQ(currentPiece.rotation, 0u);
    }
    Place(kT, 0, 5, 21);
    EXPECT_EQ(MovePiece(MoveLeft), 1);
    EXPECT_EQ(currentPiece.column, 4);
    EXPECT_EQ(RotatePiece(), 1);
    EXPECT_EQ(MovePiece(MoveDown), 1);
    EXPECT_EQ(currentPiece.row, 20);
}

TEST_F(MovementTest, UnknownDirectionIsIgnored) {
    Place(kT, 0, 5, 10);
    EXPECT_EQ(MovePiece(0), 0);
    EXPECT_EQ(MovePiece(4), 0);
    EXPECT_EQ(currentPiece.column, 5);
    EXPECT_EQ(currentPiece.row, 10);
}

TEST_F(MovementTest, BarReachesColumnTwelveAndMinusThree) {
    Place(kBar, 0, 5, 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(MovePiece(MoveRight), 1);
    }
    EXPECT_EQ(currentPiece.column, 12);
    Place(kBar, 2, 5, 10);
    for (int i = 0; i < 10; ++i) {
        MovePiece(MoveLeft);
    }
    EXPECT_EQ(currentPiece.column, -3);
    MovePiece(MoveRight);
    EXPECT_EQ(currentPiece.column, -2) << "a piece beyond the left wall still moves right";
}

TEST_F(MovementTest, MovesStopAtBlocks) {
    Place(kSquare, 0, 5, 10);  // cells in columns 6 and 7, rows 9 and 8
    SetCell(5, 8, 1);
    MovePiece(MoveLeft);
    EXPECT_EQ(currentPiece.column, 5);
    SetCell(8, 9, 1);
    MovePiece(MoveRight);
    EXPECT_EQ(currentPiece.column, 5);
    SetCell(8, 9, 0);
    MovePiece(MoveRight);
    EXPECT_EQ(currentPiece.column, 6);
}

TEST_F(MovementTest, BarTurnsAtColumnNineButNotTen) {
    Place(kBar, 0, 10, 10);
    EXPECT_EQ(RotatePiece(), 0);
    EXPECT_EQ(currentPiece.rotation, 0u);
    EXPECT_EQ(currentPiece.column, 10);
    EXPECT_EQ(PlayCount(RotateSound), 0);

    Place(kBar, 0, 9, 10);
    EXPECT_EQ(RotatePiece(), 1);
    EXPECT_EQ(currentPiece.rotation, 1u);
    EXPECT_EQ(currentPiece.column, 9);
    EXPECT_EQ(PieceCells(), "9,7 10,7 11,7 12,7") << "rotation 1 lies in the bottom box row";
    EXPECT_EQ(PlayCount(RotateSound), 1);
}

TEST_F(MovementTest, SquareTurnsAtColumnZeroButNotAtMinusOne) {
    Place(kSquare, 0, 0, 10);
    EXPECT_EQ(RotatePiece(), 1);
    EXPECT_EQ(currentPiece.rotation, 1u);
    EXPECT_EQ(PlayCount(RotateSound), 1);

    Place(kSquare, 2, -1, 10);  // cells in columns 0 and 1
    EXPECT_EQ(RotatePiece(), 0);
    EXPECT_EQ(currentPiece.rotation, 2u);
    EXPECT_EQ(currentPiece.column, -1);
    EXPECT_EQ(PlayCount(RotateSound), 1) << "no sound for the refused turn";
}

TEST_F(MovementTest, BarTurnsFromItsTopRowIntoItsLeftColumn) {
    Place(kBar, 3, 4, 10);
    EXPECT_EQ(PieceCells(), "4,10 5,10 6,10 7,10");
    ASSERT_EQ(RotatePiece(), 1);
    EXPECT_EQ(currentPiece.rotation, 0u);
    EXPECT_EQ(PieceCells(), "4,10 4,9 4,8 4,7");
}

TEST_F(MovementTest, TurnIntoBlocksIsRefusedInPlace) {
    Place(kT, 0, 5, 10);  // rotation 1 needs column 5 rows 8 to 10 and column 6 row 9
    SetCell(5, 8, 1);
    EXPECT_EQ(RotatePiece(), 0);
    EXPECT_EQ(currentPiece.rotation, 0u);
    EXPECT_EQ(currentPiece.column, 5);
    // Both test paths (left move for columns 0-5, right move above) refuse it.
    Place(kT, 0, 8, 10);
    SetCell(8, 8, 1);
    EXPECT_EQ(RotatePiece(), 0);
    EXPECT_EQ(currentPiece.column, 8);
}

TEST_F(MovementTest, TurnsBelowTheFloorAreRefused) {
    struct Case {
        int32_t shape;
        uint32_t rotation;
        int32_t row;
    };
    // Each new rotation would put a cell on row -1.
    const Case cases[] = {{kBar, 3, 0}, {kT, 0, 1}, {kL, 3, 1}, {kMirroredL, 3, 1},
                          {kS, 1, 1},   {kS, 3, 1}, {kZ, 1, 1}, {kZ, 3, 1}};
    for (const Case& c : cases) {
        for (int32_t column : {2, 8}) {
            Place(c.shape, c.rotation, column, c.row);
            EXPECT_EQ(RotatePiece(), 0) << "shape " << c.shape << " column " << column;
            EXPECT_EQ(currentPiece.rotation, c.rotation);
            EXPECT_EQ(currentPiece.column, column);
        }
    }
    EXPECT_EQ(PlayCount(RotateSound), 0);
}

TEST_F(MovementTest, ContactOnTheFloorAndOnBlocks) {
    Place(kBar, 0, 3, 3);  // lowest cell on row 0
    EXPECT_EQ(TestContact(), 1);
    EXPECT_EQ(PlayCount(DropSound), 1);
    Place(kBar, 0, 3, 4);
    EXPECT_EQ(TestContact(), 0);
    EXPECT_EQ(PlayCount(DropSound), 1) << "no sound without contact";
    SetCell(3, 0, 1);
    EXPECT_EQ(TestContact(), 1);
    // Only the block under a piece cell counts, not one beside it.
    Place(kSquare, 0, 0, 5);  // cells in columns 1 and 2, rows 4 and 3
    SetCell(0, 2, 1);
    SetCell(3, 2, 1);
    EXPECT_EQ(TestContact(), 0);
    SetCell(2, 2, 1);
    EXPECT_EQ(TestContact(), 1);
}

TEST_F(MovementTest, DownOnARestingPieceSoundsButNeverLocks) {
    Place(kSquare, 0, 5, 2);  // resting on the floor
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(MovePiece(MoveDown), 1);
    }
    EXPECT_EQ(currentPiece.row, 2);
    EXPECT_EQ(PlayCount(DropSound), 3);
    EXPECT_EQ(BoardCell(6, 0), 0);
    EXPECT_EQ(GravityStep(), 0);
    EXPECT_EQ(BoardCell(6, 0), 1);
    EXPECT_EQ(PlayCount(DropSound), 4);
}

TEST_F(MovementTest, RestingPieceSlidesOverAGapAndFallsOn) {
    FillRow(0, 3);
    FillRow(1, 3);
    Place(kBar, 0, 4, 5);  // resting on row 1 in column 4
    EXPECT_EQ(TestContact(), 1);
    MovePiece(MoveLeft);
    EXPECT_EQ(currentPiece.column, 3);
    EXPECT_EQ(GravityStep(), 1);
    EXPECT_EQ(GravityStep(), 1);
    EXPECT_EQ(currentPiece.row, 3);
    EXPECT_EQ(GravityStep(), 0) << "it lands on the floor of the gap";
    EXPECT_EQ(BoardCell(3, 0), 1);
}

TEST_F(MovementTest, GravityHasNoGuardAndFallsOneRow) {
    Place(kT, 0, 5, 24);
    EXPECT_EQ(GravityStep(), 1);
    EXPECT_EQ(currentPiece.row, 23);
}

}  // namespace
}  // namespace korvane
