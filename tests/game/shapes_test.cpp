// The shape table against the pictures of each shape in each rotation.
#include <gtest/gtest.h>

#include <string>

#include "game/shapes.h"

namespace korvane {
namespace {

// Box rows from the top separated by slashes; # is a cell.
const char* const kPictures[kShapeCount][kRotationCount] = {
    {"..../.##./.##./....", "..../.##./.##./....", "..../.##./.##./....", "..../.##./.##./...."},
    {"#.../#.../#.../#...", "..../..../..../####", "...#/...#/...#/...#", "####/..../..../...."},
    {"###./.#../..../....", "#.../##../#.../....", "..../.#../###./....", "...#/..##/...#/...."},
    {"#.../#.../##../....", "..../..#./###./....", ".##./..#./..#./....", "###./#.../..../...."},
    {"##../#.../#.../....", "..../#.../###./....", "...#/...#/..##/....", "###./..#./..../...."},
    {".#../.##./..#./....", ".##./##../..../....", ".#../.##./..#./....", ".##./##../..../...."},
    {"..#./.##./.#../....", "##../.##./..../....", "..#./.##./.#../....", "##../.##./..../...."},
};

std::string Draw(const uint8_t* rows) {
    std::string picture;
    for (int j = 0; j < kBoxSize; ++j) {
        if (j > 0) {
            picture += '/';
        }
        for (int p = 0; p < kBoxSize; ++p) {
            picture += BoxCellSet(rows[j], p) ? '#' : '.';
        }
    }
    return picture;
}

TEST(ShapeTable, EveryRotationMatchesItsPicture) {
    for (int shape = 0; shape < kShapeCount; ++shape) {
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            EXPECT_EQ(Draw(ShapeTable[shape][rotation]), kPictures[shape][rotation])
                << "shape " << shape << " rotation " << rotation;
        }
    }
}

TEST(ShapeTable, EveryShapeHasFourCellsAndUsesOnlyTheLowNibble) {
    for (int shape = 0; shape < kShapeCount; ++shape) {
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            int cells = 0;
            for (uint8_t row : ShapeTable[shape][rotation]) {
                EXPECT_EQ(row & 0xF0, 0);
                cells += __builtin_popcount(row);
            }
            EXPECT_EQ(cells, 4) << "shape " << shape << " rotation " << rotation;
        }
    }
}

TEST(ShapeTable, ByteLayoutIsShapeThenRotationThenRow) {
    const auto* bytes = &ShapeTable[0][0][0];
    EXPECT_EQ(sizeof(ShapeTable), 112u);
    EXPECT_EQ(bytes[1 * 16 + 1 * 4 + 3], 0x0F);  // the lying bar fills the bottom row
    EXPECT_EQ(bytes[2 * 16 + 3 * 4 + 1], 0x03);
}

}  // namespace
}  // namespace korvane
