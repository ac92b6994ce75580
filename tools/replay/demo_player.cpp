#include "tools/replay/demo_player.h"

#include <array>
#include <cstdlib>
#include <limits>

#include "game/board.h"
#include "game/shapes.h"
#include "input/key_map.h"

namespace korvane::replay {
namespace {

using Cells = std::array<uint8_t, kBoardBytes>;

struct Target {
    uint32_t rotation = 0;
    int32_t column = 0;
};
constexpr int32_t kNoChoice = 1000;
Target target;
int32_t chosenAtRow = kNoChoice;  // the row the piece was at when its place was chosen
int32_t lastRow = -kNoChoice;     // the falling piece's row at the last call

bool Fits(const Cells& cells, int32_t shape, uint32_t rotation, int32_t column, int32_t row) {
    const uint8_t* rows = ShapeTable[shape][rotation];
    for (int j = 0; j < kBoxSize; ++j) {
        for (int p = 0; p < kBoxSize; ++p) {
            if (!BoxCellSet(rows[j], p)) {
                continue;
            }
            const int c = column + p;
            const int r = row - j;
            if (c < 0 || c >= kBoardColumns || r < 0 ||
                (r < kBoardRows && cells[r * kBoardColumns + c] != 0)) {
                return false;
            }
        }
    }
    return true;
}

// Lower is better: a low, even stack without covered holes, rows removed.
double Rate(Cells cells, int32_t shape, uint32_t rotation, int32_t column, int32_t row) {
    const uint8_t* rows = ShapeTable[shape][rotation];
    for (int j = 0; j < kBoxSize; ++j) {
        for (int p = 0; p < kBoxSize; ++p) {
            const int r = row - j;
            if (BoxCellSet(rows[j], p) && r < kBoardRows) {
                cells[r * kBoardColumns + column + p] = 1;
            }
        }
    }
    int removed = 0;
    int heights[kBoardColumns] = {};
    int holes = 0;
    for (int r = kVisibleRows - 1; r >= 0; --r) {
        bool full = true;
        for (int c = 0; c < kBoardColumns; ++c) {
            full = full && cells[r * kBoardColumns + c] != 0;
        }
        removed += full ? 1 : 0;
    }
    for (int c = 0; c < kBoardColumns; ++c) {
        for (int r = kBoardRows - 1; r >= 0; --r) {
            const bool filled = cells[r * kBoardColumns + c] != 0;
            if (filled && heights[c] == 0) {
                heights[c] = r + 1;
            } else if (!filled && heights[c] > r) {
                ++holes;
            }
        }
    }
    int total = 0;
    int bumps = 0;
    for (int c = 0; c < kBoardColumns; ++c) {
        total += heights[c];
        bumps += c > 0 ? std::abs(heights[c] - heights[c - 1]) : 0;
    }
    return 0.51 * (total - removed * kBoardColumns) + 0.36 * holes + 0.18 * bumps - 0.76 * removed;
}

// The best reachable resting place for the falling piece, turning at its
// current place and sliding at its current row.
Target Choose() {
    Cells cells{};
    for (int i = 0; i < kBoardBytes; ++i) {
        cells[i] = BoardCells()[i];
    }
    const PieceState& piece = currentPiece;
    Target best{piece.rotation, piece.column};
    double bestRating = std::numeric_limits<double>::max();
    for (uint32_t turns = 0; turns < 4; ++turns) {
        const uint32_t rotation = (piece.rotation + turns) % 4;
        if (!Fits(cells, piece.shape, rotation, piece.column, piece.row)) {
            break;
        }
        for (int step : {-1, 1}) {
            for (int32_t column = piece.column;
                 Fits(cells, piece.shape, rotation, column, piece.row); column += step) {
                int32_t row = piece.row;
                while (Fits(cells, piece.shape, rotation, column, row - 1)) {
                    --row;
                }
                const double rating = Rate(cells, piece.shape, rotation, column, row);
                if (rating < bestRating) {
                    bestRating = rating;
                    best = Target{rotation, column};
                }
            }
        }
    }
    return best;
}

}  // namespace

void DemoPlayerReset() {
    target = Target{};
    chosenAtRow = kNoChoice;
    lastRow = -kNoChoice;
}

uint8_t DemoPlayerKey() {
    const PieceState& piece = currentPiece;
    if (BoardCells() == nullptr || piece.shape == kNoShape) {
        return 0;
    }
    // A piece higher than the last one seen is a new piece.
    if (piece.row > lastRow) {
        chosenAtRow = kNoChoice;
    }
    lastRow = piece.row;
    // The player may act only from row 21 down.
    if (piece.row > 21) {
        return 0;
    }
    // Choose once per piece, and again when a turn keeps failing while the
    // piece falls on.
    if (chosenAtRow == kNoChoice ||
        (piece.rotation != target.rotation && chosenAtRow - piece.row >= 2)) {
        target = Choose();
        chosenAtRow = piece.row;
    }
    if (piece.rotation != target.rotation) {
        return kKeyUp;
    }
    if (piece.column > target.column) {
        return kKeyLeft;
    }
    if (piece.column < target.column) {
        return kKeyRight;
    }
    return kKeyDown;
}

}  // namespace korvane::replay
