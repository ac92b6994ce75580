#include "tools/replay/rule_check.h"

#include "game/board.h"
#include "game/piece_cells.h"
#include "game/scoring.h"
#include "game/shapes.h"

namespace korvane::replay {

std::string BrokenGameRule(ScreenState state) {
    if (BoardCells() == nullptr) {
        return "the board is gone";
    }
    for (int i = 0; i < kBoardBytes; ++i) {
        if (BoardCells()[i] > 8) {
            return "board byte " + std::to_string(i) + " holds " + std::to_string(BoardCells()[i]);
        }
    }
    const ScoreCounters& c = scoreCounters;
    if (c.score > kMaxScore || c.level < 1 || c.level > 11 || c.lines >= kRowsPerLevel) {
        return "counters out of range";
    }
    const PieceState& p = currentPiece;
    if (p.shape < 0 || p.shape >= kShapeCount || p.rotation > 3 || p.color > 7 || p.column < -3 ||
        p.column > 12 || p.row > kSpawnRow) {
        return "falling piece out of range";
    }
    // Deliberate exception: in the frame a game ends, the new piece may have
    // come into play over settled cells; the end frame resets the game.
    const bool ending = state == ScreenState::GameOver || state == ScreenState::Won;
    // A landing can leave blocks in the hidden rows and clear row 19 in the
    // same frame; the next piece then enters over those blocks, as the rules
    // allow. Only the visible well must never be overlapped.
    const bool clear = ForEachPieceCell(p, [](int column, int row) {
        return column >= 0 && column < kBoardColumns && row >= 0 &&
               (row >= kVisibleRows || BoardCell(column, row) == 0);
    });
    if (!clear && !ending) {
        return "the falling piece overlaps settled cells";
    }
    return {};
}

}  // namespace korvane::replay
