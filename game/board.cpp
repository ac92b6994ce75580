#include "game/board.h"

#include <cstring>

#include "game/piece_cells.h"
#include "game/scoring.h"
#include "platform/memory.h"
#include "timing/clock.h"

namespace korvane {

namespace {
constexpr PieceState kNoPiece{kNoShape, 0, kSpawnColumn, kSpawnRow, 0};
}  // namespace

PieceState currentPiece = kNoPiece;
PieceState nextPiece = kNoPiece;

namespace {

platform::MemoryBlock board;

// Set when a piece locked with cells above the top hidden row; those cells
// have nowhere to go, so the game ends at the next spawn.
bool lockedAboveBoard = false;

bool EntryRowBlocked() {
    constexpr int kEntryRow = kVisibleRows - 1;
    for (int column = 5; column <= 9; ++column) {
        if (BoardCell(column, kEntryRow) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

uint8_t* BoardCells() {
    return board.get();
}

uint8_t BoardCell(int column, int row) {
    return board[row * kBoardColumns + column];
}

int AllocateBoard() {
    board = platform::AllocateBlock(kBoardBytes, "board");
    return board ? 1 : 0;
}

int FreeBoard() {
    board.reset();
    return 1;
}

void ResetGameState() {
    FreeBoard();
    currentPiece = kNoPiece;
    nextPiece = kNoPiece;
    lockedAboveBoard = false;
    scoreCounters = ScoreCounters{0, 1, 0};
}

int ClearBoard() {
    std::memset(board.get(), 0, kBoardBytes);
    currentPiece.shape = kNoShape;
    nextPiece.shape = kNoShape;
    lockedAboveBoard = false;
    return 1;
}

int SpawnPiece() {
    for (;;) {
        if (nextPiece.shape != kNoShape) {
            currentPiece = nextPiece;
        }
        // Deliberate: only the five entry cells of the top visible row are
        // tested, though the bar never covers column 9; the hidden rows never.
        if (EntryRowBlocked() || lockedAboveBoard) {
            return 0;
        }
        nextPiece.shape = static_cast<int32_t>(NowMs() % kShapeCount);
        nextPiece.color = NowMs() & 7;
        nextPiece.column = kSpawnColumn;
        nextPiece.row = kSpawnRow;
        nextPiece.rotation = 0;
        if (currentPiece.shape != kNoShape) {
            return 1;
        }
    }
}

int LockPiece() {
    ForEachPieceCell(currentPiece, [](int column, int row) {
        if (row >= kBoardRows) {
            lockedAboveBoard = true;
        } else {
            board[row * kBoardColumns + column] = static_cast<uint8_t>(currentPiece.color + 1);
        }
        return true;
    });
    return 1;
}

}  // namespace korvane
