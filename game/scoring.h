#pragma once
// Full rows, the score, the level and the win.
#include <cstdint>

namespace korvane {

struct ScoreCounters {
    uint32_t score;  // 0 to 999999
    uint32_t level;  // from 1; the game is won on reaching 11
    uint32_t lines;  // rows removed since the level last rose, 0 to 19
};

extern ScoreCounters scoreCounters;

inline constexpr uint32_t kMaxScore = 999999;
inline constexpr uint32_t kRowsPerLevel = 20;
inline constexpr uint32_t kLastLevel = 10;

// Points for the number of rows one landing removed (index 1 to 4).
inline constexpr uint32_t RowScoreTable[5] = {0, 10, 25, 60, 100};
// The points for `rows` rows; 0 for any count outside 1 to 4.
constexpr uint32_t RowScore(uint32_t rows) {
    return rows <= 4 ? RowScoreTable[rows] : 0;
}

// Score 0, level 1, lines 0.
int ResetCounters();
// Removes the lowest full row of the visible well, with ThudSound; 1 when a
// row went, 0 when there was none.
int RemoveFullRow();
// Adds points, holding the score at 999999.
int AddScore(uint32_t points);
// 1 once the level has passed 10.
int IsGameWon();

}  // namespace korvane
