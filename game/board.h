#pragma once
// The well of settled blocks, the falling piece and the next piece.
#include <cstdint>

namespace korvane {

inline constexpr int kBoardColumns = 13;
inline constexpr int kBoardRows = 24;  // rows 20 to 23 are hidden above the well
inline constexpr int kVisibleRows = 20;
inline constexpr int kBoardBytes = kBoardColumns * kBoardRows;

inline constexpr int32_t kNoShape = -1;
inline constexpr int32_t kSpawnColumn = 5;
inline constexpr int32_t kSpawnRow = 24;  // one above the top row, outside the board

struct PieceState {
    int32_t shape;      // index into ShapeTable, or kNoShape
    uint32_t color;     // 0 to 7
    int32_t column;     // board column of box column 0; -3 to 12
    int32_t row;        // board row of box row 0 (the box's top row)
    uint32_t rotation;  // 0 to 3
};

extern PieceState currentPiece;
extern PieceState nextPiece;

// Cells: 0 empty, 1 to 8 a settled block of colour value - 1. Byte
// row * 13 + column, row 0 at the bottom. Null until AllocateBoard.
uint8_t* BoardCells();
// The cell at `column`, `row`; both must lie inside the board.
uint8_t BoardCell(int column, int row);

// Takes the board's memory (not cleared); 0 when it cannot be had.
int AllocateBoard();
// Gives the memory back; does nothing when it was never taken.
int FreeBoard();
// Empties the board and forgets both pieces.
int ClearBoard();
// Brings the next piece into play and draws a new next piece from the clock;
// after ClearBoard it draws both. 0 when there is no room: the game is over.
int SpawnPiece();
// Writes the falling piece into the board.
int LockPiece();
// No board, no pieces and fresh counters, as at program start.
void ResetGameState();

}  // namespace korvane
