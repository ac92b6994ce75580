#pragma once
// The well as a screenshot shows it, read where the game draws it: which
// cells hold a block, and which of them are the falling piece.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "game/board.h"
#include "game/shapes.h"
#include "gfx/playfield.h"
#include "gfx/video.h"
#include "tests/screen/picture.h"

namespace korvane::screen {

inline constexpr int kWellColumns = kBoardColumns;
inline constexpr int kWellRows = kVisibleRows;
// The top edge of the well's top row on the screen (the game counts rows up
// from the bottom; the reader counts them down from the top, as pictures go).
inline constexpr int kWellTop = kWellBottomRowTop - (kWellRows - 1) * kBlockSize;
inline constexpr int kWellRight = kWellLeft + kWellColumns * kBlockSize - 1;
inline constexpr int kWellBottom = kWellTop + kWellRows * kBlockSize - 1;

// Cells of one piece: those of any shape's box.
inline constexpr int kPieceCells = [] {
    int cells = 0;
    for (uint8_t row : ShapeTable[0][0]) {
        for (int p = 0; p < kBoxSize; ++p) {
            cells += BoxCellSet(row, p) ? 1 : 0;
        }
    }
    return cells;
}();

// One cell a bit, row by row from the top of the well.
struct Well {
    std::array<bool, kWellColumns * kWellRows> block{};

    bool At(int column, int row) const { return block[row * kWellColumns + column]; }
    int Count() const;
    // kWellRows lines of kWellColumns characters, top first: '#' a block, '.'
    // none.
    std::string Text() const;
};

// The colour the well is drawn on: the screen beside it, right of the well,
// where the game draws nothing in play (the plain test pictures). A cell
// holds a block when its middle is not that colour.
const uint8_t* WellBackground(const Picture& picture);
// False when the picture is not the whole screen, at the game's size.
bool ReadWell(const Picture& picture, Well* well);

// A group of touching cells: its box (top-left cell and size, in cells) and
// its cells' places within that box, one bit a cell (bit row * kBoxSize +
// column) for groups that fit a piece's box.
struct Piece {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    uint16_t shape = 0;
    // Free rows between its bottom and the highest other block in the well
    // (or the floor): how far it can fall, whatever column keys take it to.
    int room = 0;
    // The same for the lowest row turns can take its cells to.
    int turn_room = 0;
};

// The falling piece: a group of as many cells as a piece has, all in view,
// that does not stand on the floor (the topmost, should there be two). A
// piece that comes to rest on a block, or touches one from the side, joins
// that block's group, so it is not found: it may have landed.
std::optional<Piece> FallingPiece(const Well& well);

// The piece has come whole into view and has the whole well's fall ahead:
// its top in the first box's height of rows.
bool Fresh(const Piece& piece);

// Whether turning can show on this piece: false for a shape whose turns all
// look the same (the square).
bool ShowsTurn(const Piece& piece);

// The settled blocks: all but groups that may be a piece still falling
// (kPieceCells cells or fewer, coming into view, off the floor).
Well Settled(const Well& well);

}  // namespace korvane::screen
