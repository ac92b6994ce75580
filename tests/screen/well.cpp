#include "tests/screen/well.h"

#include <algorithm>
#include <vector>

namespace korvane::screen {
namespace {

constexpr int kCells = kWellColumns * kWellRows;

struct Group {
    std::vector<int> cells;  // row * kWellColumns + column
    int left = kWellColumns;
    int top = kWellRows;
    int right = -1;
    int bottom = -1;
};

// The groups of touching blocks (side by side or one above the other), in
// the order their topmost-leftmost cells come, row by row from the top.
std::vector<Group> Groups(const Well& well) {
    std::vector<Group> groups;
    std::array<bool, kCells> seen{};
    for (int start = 0; start < kCells; ++start) {
        if (!well.block[start] || seen[start]) {
            continue;
        }
        Group group;
        std::vector<int> todo{start};
        seen[start] = true;
        while (!todo.empty()) {
            const int cell = todo.back();
            todo.pop_back();
            group.cells.push_back(cell);
            const int column = cell % kWellColumns;
            const int row = cell / kWellColumns;
            group.left = std::min(group.left, column);
            group.right = std::max(group.right, column);
            group.top = std::min(group.top, row);
            group.bottom = std::max(group.bottom, row);
            const int next[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
            for (const auto& step : next) {
                const int c = column + step[0];
                const int r = row + step[1];
                if (c < 0 || c >= kWellColumns || r < 0 || r >= kWellRows) {
                    continue;
                }
                const int n = r * kWellColumns + c;
                if (well.block[n] && !seen[n]) {
                    seen[n] = true;
                    todo.push_back(n);
                }
            }
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

bool OnFloor(const Group& group) {
    return group.bottom == kWellRows - 1;
}

// The places of cells within their box, as Piece::shape keeps them.
uint16_t ShapeBits(const std::vector<int>& cells, int left, int top) {
    uint16_t bits = 0;
    for (int cell : cells) {
        const int x = cell % kWellColumns - left;
        const int y = cell / kWellColumns - top;
        if (x < kBoxSize && y < kBoxSize) {
            bits = static_cast<uint16_t>(bits | (1U << (y * kBoxSize + x)));
        }
    }
    return bits;
}

// A rotation of the game's shape table as it looks on the screen: its cells
// moved to the top-left of their box.
uint16_t RotationBits(int shape, int rotation) {
    const uint8_t* rows = ShapeTable[shape][rotation];
    int left = kBoxSize;
    int top = kBoxSize;
    for (int j = 0; j < kBoxSize; ++j) {
        for (int p = 0; p < kBoxSize; ++p) {
            if (BoxCellSet(rows[j], p)) {
                left = std::min(left, p);
                top = std::min(top, j);
            }
        }
    }
    uint16_t bits = 0;
    for (int j = 0; j < kBoxSize; ++j) {
        for (int p = 0; p < kBoxSize; ++p) {
            if (BoxCellSet(rows[j], p)) {
                bits = static_cast<uint16_t>(bits | (1U << ((j - top) * kBoxSize + (p - left))));
            }
        }
    }
    return bits;
}

int LowestRow(int shape, int rotation) {
    int lowest = 0;
    for (int j = 0; j < kBoxSize; ++j) {
        if (ShapeTable[shape][rotation][j] != 0) {
            lowest = j;
        }
    }
    return lowest;
}

// How many rows lower than its bottom a piece that looks so can have its
// cells after turns. The game turns a piece within its box, which stays
// where it is, so the shape table says it: the lowest row any turn of the
// shape reaches in the box, less the lowest of the turn it shows (of every
// turn it may be showing; the bar's upright turns look alike, but one is
// at the bottom of its box and the other is not).
int TurnReach(uint16_t shape_bits) {
    int reach = -1;
    for (int shape = 0; shape < kShapeCount; ++shape) {
        int lowest = 0;
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            lowest = std::max(lowest, LowestRow(shape, rotation));
        }
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            if (RotationBits(shape, rotation) == shape_bits) {
                reach = std::max(reach, lowest - LowestRow(shape, rotation));
            }
        }
    }
    // Not a shape of the game: anywhere in a box under its top.
    return reach >= 0 ? reach : kBoxSize - 1;
}

}  // namespace

int Well::Count() const {
    return static_cast<int>(std::count(block.begin(), block.end(), true));
}

std::string Well::Text() const {
    std::string text;
    for (int row = 0; row < kWellRows; ++row) {
        for (int column = 0; column < kWellColumns; ++column) {
            text += At(column, row) ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

const uint8_t* WellBackground(const Picture& picture) {
    return picture.At(kWellRight + 1 + kBlockSize / 2, kWellTop + kBlockSize / 2);
}

bool ReadWell(const Picture& picture, Well* well) {
    if (picture.width != static_cast<int>(kScreenWidth) ||
        picture.height != static_cast<int>(kScreenHeight)) {
        return false;
    }
    const uint8_t* background = WellBackground(picture);
    for (int row = 0; row < kWellRows; ++row) {
        for (int column = 0; column < kWellColumns; ++column) {
            const uint8_t* middle = picture.At(kWellLeft + column * kBlockSize + kBlockSize / 2,
                                               kWellTop + row * kBlockSize + kBlockSize / 2);
            well->block[row * kWellColumns + column] = Differs(middle, background);
        }
    }
    return true;
}

std::optional<Piece> FallingPiece(const Well& well) {
    const std::vector<Group> groups = Groups(well);
    for (size_t k = 0; k < groups.size(); ++k) {
        const Group& group = groups[k];
        if (static_cast<int>(group.cells.size()) != kPieceCells || OnFloor(group)) {
            continue;
        }
        Piece piece;
        piece.left = group.left;
        piece.top = group.top;
        piece.width = group.right - group.left + 1;
        piece.height = group.bottom - group.top + 1;
        piece.shape = ShapeBits(group.cells, group.left, group.top);
        int highest = kWellRows;
        for (size_t other = 0; other < groups.size(); ++other) {
            if (other != k) {
                highest = std::min(highest, groups[other].top);
            }
        }
        piece.room = highest - group.bottom - 1;
        piece.turn_room = piece.room - TurnReach(piece.shape);
        return piece;
    }
    return std::nullopt;
}

bool Fresh(const Piece& piece) {
    return piece.top < kBoxSize;
}

bool ShowsTurn(const Piece& piece) {
    for (int shape = 0; shape < kShapeCount; ++shape) {
        bool matches = false;
        bool all_alike = true;
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            const uint16_t bits = RotationBits(shape, rotation);
            matches = matches || bits == piece.shape;
            all_alike = all_alike && bits == RotationBits(shape, 0);
        }
        if (matches) {
            return !all_alike;
        }
    }
    return true;
}

Well Settled(const Well& well) {
    Well settled = well;
    for (const Group& group : Groups(well)) {
        if (static_cast<int>(group.cells.size()) <= kPieceCells && !OnFloor(group)) {
            for (int cell : group.cells) {
                settled.block[cell] = false;
            }
        }
    }
    return settled;
}

}  // namespace korvane::screen
