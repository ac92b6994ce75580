#pragma once
// The video device up with the eight block pictures loaded (block k a solid
// colour of its own) and an empty board.
#include <utility>
#include <vector>

#include "game/board.h"
#include "gfx/playfield.h"
#include "tests/gfx/gfx_fixture.h"

namespace korvane::testing {

// The colour of block picture k (1 to 8).
Bgr BlockColor(int k);
// Adds "Art\Block1.kvp" to "Art\Block8.kvp" to the fake files.
void AddBlockPictures();

class PlayfieldTest : public LayoutTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    static void SetCell(int column, int row, uint8_t value);
    // The packed pixel of block picture k.
    uint16_t BlockPixel(int k) const;
    // Top-left corners of the blits made onto the back buffer since the last
    // ClearDisplayRecords, with the block picture (1 to 8) each came from.
    static std::vector<std::pair<int, int>> BlitCorners();
    static int BlitPicture(size_t index);
};

}  // namespace korvane::testing
