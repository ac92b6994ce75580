#pragma once
// Walks the board cells a piece covers in its current rotation.
#include "game/board.h"
#include "game/shapes.h"

namespace korvane {

// Calls visit(column, row) for each cell of `piece`, box row 0 (top) first and
// left to right within a row. Stops early and returns false when visit does.
template <typename Visit>
bool ForEachPieceCell(const PieceState& piece, Visit visit) {
    const uint8_t* rows = ShapeTable[piece.shape][piece.rotation];
    for (int j = 0; j < kBoxSize; ++j) {
        for (int p = 0; p < kBoxSize; ++p) {
            if (BoxCellSet(rows[j], p) && !visit(piece.column + p, piece.row - j)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace korvane
