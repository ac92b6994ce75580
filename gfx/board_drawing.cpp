// The well's settled blocks and the two pieces, copied block by block from
// the block surfaces onto the back buffer.
#include "game/board.h"
#include "game/shapes.h"
#include "gfx/playfield.h"
#include "gfx/video.h"

namespace korvane {
namespace {

constexpr platform::Rect kWholeBlock = {0, 0, kBlockSize, kBlockSize};

// The preview box: the next piece is drawn as if its box stood at column 2,
// row 4 of the well, moved 211 pixels left and then by a per-shape offset that
// brings each shape's first rotation to about (124, 400).
constexpr int32_t kPreviewLeft = 40;
constexpr int32_t kPreviewColumn = 2;
constexpr int32_t kPreviewRow = 4;
struct Offset {
    int32_t dx;
    int32_t dy;
};
constexpr Offset kPreviewOffsets[kShapeCount] = {
    {-12, -7},  // square
    {25, -7},   // bar
    {0, 15},    // T
    {15, 5},    // L
    {15, 5},    // mirrored L
    {-15, 5},   // S
    {-15, 5},   // Z
};

platform::BlitResult CopyBlock(uint32_t picture, int32_t x, int32_t y) {
    return platform::SurfaceBlitFast(videoDevice.backBuffer, x, y, BlockSurfaces[picture].get(),
                                     kWholeBlock);
}

}  // namespace

int DrawBoard() {
    if (BoardCells() == nullptr) {
        return 1;  // no board yet: nothing settled to draw
    }
    for (int row = 0; row < kVisibleRows; ++row) {
        for (int column = 0; column < kBoardColumns; ++column) {
            const uint8_t value = BoardCell(column, row);
            // Only 1 to 8 name a block picture; anything else has none to draw.
            if (value == 0 || value > kBlockPictures) {
                continue;
            }
            const platform::BlitResult result = CopyBlock(
                value - 1U, kWellLeft + kBlockSize * column, kWellBottomRowTop - kBlockSize * row);
            // Deliberate: a lost surface is drawn past; the frame goes on and
            // the next one tries again.
            if (result != platform::BlitResult::Ok && result != platform::BlitResult::SurfaceLost) {
                return 0;
            }
        }
    }
    return 1;
}

int DrawPiece(int which) {
    const PieceState& piece = which == 0 ? currentPiece : nextPiece;
    // Before the first spawn there is no piece to draw.
    if (piece.shape < 0 || piece.shape >= kShapeCount || piece.rotation >= kRotationCount ||
        piece.color >= static_cast<uint32_t>(kBlockPictures)) {
        return 1;
    }
    const bool preview = which != 0;
    const int32_t originColumn = preview ? kPreviewColumn : piece.column;
    const int32_t originRow = preview ? kPreviewRow : piece.row;
    const Offset offset = preview ? kPreviewOffsets[piece.shape] : Offset{0, 0};
    const int32_t left = preview ? kPreviewLeft : kWellLeft;
    const uint8_t* rows = ShapeTable[piece.shape][piece.rotation];
    for (int j = 0; j < kBoxSize; ++j) {
        const int32_t gridRow = originRow - j;
        // Box rows above the well or below its floor are not drawn, so a new
        // piece comes into view row by row from the top edge.
        if (gridRow < 0 || gridRow >= kVisibleRows) {
            continue;
        }
        for (int p = 0; p < kBoxSize; ++p) {
            if (!BoxCellSet(rows[j], p)) {
                continue;
            }
            const int32_t x = left + kBlockSize * (originColumn + p) + offset.dx;
            const int32_t y = kWellBottomRowTop - kBlockSize * gridRow + offset.dy;
            CopyBlock(piece.color, x, y);
        }
    }
    return 1;
}

}  // namespace korvane
