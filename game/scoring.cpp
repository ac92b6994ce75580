#include "game/scoring.h"

#include <cstring>

#include "game/board.h"
#include "sound/sound.h"

namespace korvane {

ScoreCounters scoreCounters{0, 1, 0};

namespace {

bool RowFull(int row) {
    for (int column = 0; column < kBoardColumns; ++column) {
        if (BoardCell(column, row) == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

int ResetCounters() {
    scoreCounters = ScoreCounters{0, 1, 0};
    return 1;
}

int RemoveFullRow() {
    int full = 0;
    while (full < kVisibleRows && !RowFull(full)) {
        ++full;
    }
    if (full == kVisibleRows) {
        return 0;
    }
    // The rows above drop by one in a single overlapping move; the hidden
    // rows 20 to 23 stay where they are, so row 19 is left empty under them.
    constexpr int kTopRow = kVisibleRows - 1;
    uint8_t* cells = BoardCells();
    std::memmove(cells + full * kBoardColumns, cells + (full + 1) * kBoardColumns,
                 static_cast<size_t>(kBoardColumns * (kTopRow - full)));
    std::memset(cells + kTopRow * kBoardColumns, 0, kBoardColumns);
    SoundPlay(ThudSound, kPlayOnce);
    if (++scoreCounters.lines >= kRowsPerLevel) {
        scoreCounters.lines = 0;
        ++scoreCounters.level;
    }
    return 1;
}

int AddScore(uint32_t points) {
    // Widened so that no sum of points can wrap past the cap.
    const uint64_t sum = static_cast<uint64_t>(scoreCounters.score) + points;
    scoreCounters.score = sum > kMaxScore ? kMaxScore : static_cast<uint32_t>(sum);
    return 1;
}

int IsGameWon() {
    return scoreCounters.level > kLastLevel ? 1 : 0;
}

}  // namespace korvane
