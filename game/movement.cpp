#include "game/movement.h"

#include "game/board.h"
#include "game/piece_cells.h"
#include "game/shapes.h"
#include "sound/sound.h"

namespace korvane {
namespace {

// The player may touch a new piece only once its top box row is at row 21.
constexpr int32_t kHighestPlayerRow = 21;

bool Occupied(int column, int row) {
    return BoardCell(column, row) != 0;
}

bool LeftBlocked() {
    return !ForEachPieceCell(currentPiece, [](int c, int r) {
        // A cell below the floor can only come from a turn; it never fits.
        return c > 0 && r >= 0 && !Occupied(c - 1, r);
    });
}

bool RightBlocked() {
    return !ForEachPieceCell(currentPiece, [](int c, int r) {
        // Deliberate: the column is read unsigned, so a cell left of the wall
        // blocks too; that is why the square cannot turn at column -1.
        return static_cast<uint32_t>(c) < 12 && r >= 0 && !Occupied(c + 1, r);
    });
}

}  // namespace

int MovePiece(uint32_t direction) {
    if (currentPiece.row > kHighestPlayerRow) {
        return 0;
    }
    switch (direction) {
        case MoveLeft:
            if (!LeftBlocked()) {
                --currentPiece.column;
            }
            return 1;
        case MoveRight:
            if (!RightBlocked()) {
                ++currentPiece.column;
            }
            return 1;
        case MoveDown:
            if (TestContact() == 0) {
                --currentPiece.row;
            }
            return 1;
        default:
            return 0;
    }
}

int RotatePiece() {
    if (currentPiece.row > kHighestPlayerRow) {
        return 0;
    }
    const int32_t oldColumn = currentPiece.column;
    const uint32_t oldRotation = currentPiece.rotation;
    currentPiece.rotation = oldRotation == 3 ? 0 : oldRotation + 1;
    // The turn is tested by setting the piece one column off and asking a
    // sideways move to bring it back: it fits when the move succeeds.
    if (static_cast<uint32_t>(oldColumn) < 6) {
        currentPiece.column = oldColumn + 1;
        MovePiece(MoveLeft);
    } else {
        currentPiece.column = oldColumn - 1;
        MovePiece(MoveRight);
    }
    const bool turned = currentPiece.column == oldColumn;
    currentPiece.column = oldColumn;
    if (!turned) {
        currentPiece.rotation = oldRotation;
        return 0;
    }
    SoundPlay(RotateSound, kPlayOnce);
    return 1;
}

int TestContact() {
    const uint8_t* rows = ShapeTable[currentPiece.shape][currentPiece.rotation];
    for (int p = kBoxSize - 1; p >= 0; --p) {
        for (int j = kBoxSize - 1; j >= 0; --j) {
            if (!BoxCellSet(rows[j], p)) {
                continue;
            }
            const int column = currentPiece.column + p;
            const int row = currentPiece.row - j;
            if (row <= 0 || Occupied(column, row - 1)) {
                SoundPlay(DropSound, kPlayOnce);
                return 1;
            }
        }
    }
    return 0;
}

int GravityStep() {
    if (TestContact() != 0) {
        LockPiece();
        return 0;
    }
    --currentPiece.row;
    return 1;
}

}  // namespace korvane
