#include "tests/gfx/playfield_fixture.h"

#include <cstdio>

#include "timing/clock.h"

namespace korvane::testing {

Bgr BlockColor(int k) {
    return {static_cast<uint8_t>(k * 24), static_cast<uint8_t>(255 - k * 16),
            static_cast<uint8_t>(64 + k * 16)};
}

void AddBlockPictures() {
    for (int k = 1; k <= kBlockPictures; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "Art\\Block%d.kvp", k);
        fake::AddFile(name, SolidKvp(24, 24, BlockColor(k)));
    }
}

void PlayfieldTest::SetUp() {
    LayoutTest::SetUp();
    AddBlockPictures();
    ASSERT_EQ(BlockImagesLoad(), 1);
    ASSERT_EQ(AllocateBoard(), 1);
    ClearBoard();
    fake::ClearDisplayRecords();
}

void PlayfieldTest::TearDown() {
    FreeBoard();
    BlockImagesRelease();
    LayoutTest::TearDown();
}

void PlayfieldTest::SetCell(int column, int row, uint8_t value) {
    BoardCells()[row * kBoardColumns + column] = value;
}

uint16_t PlayfieldTest::BlockPixel(int k) const {
    const Bgr c = BlockColor(k);
    return PackPixel(GetParam(), c.red, c.green, c.blue);
}

std::vector<std::pair<int, int>> PlayfieldTest::BlitCorners() {
    std::vector<std::pair<int, int>> corners;
    for (const auto& blit : fake::Blits()) {
        corners.emplace_back(blit.x, blit.y);
    }
    return corners;
}

int PlayfieldTest::BlitPicture(size_t index) {
    for (int k = 0; k < kBlockPictures; ++k) {
        if (fake::Blits().at(index).source == BlockSurfaces[k].get()) {
            return k + 1;
        }
    }
    return 0;
}

}  // namespace korvane::testing
