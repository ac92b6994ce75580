// The well and the two pieces drawn block by block onto the back buffer.
#include <gtest/gtest.h>

#include "tests/gfx/playfield_fixture.h"

namespace korvane::testing {
namespace {

using Corners = std::vector<std::pair<int, int>>;

class BoardDrawingTest : public PlayfieldTest {};

TEST_P(BoardDrawingTest, EmptyBoardDrawsNothing) {
    EXPECT_EQ(DrawBoard(), 1);
    EXPECT_TRUE(fake::Blits().empty());
}

TEST_P(BoardDrawingTest, CellsLandAtTheirPlaceWithTheirPicture) {
    SetCell(0, 0, 3);
    SetCell(12, 19, 8);
    EXPECT_EQ(DrawBoard(), 1);
    EXPECT_EQ(BlitCorners(), (Corners{{251, 456}, {539, 0}}));
    // Pixel by pixel: the bottom-left block covers x 251-274, y 456-479.
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 251, 456), BlockPixel(3));
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 274, 479), BlockPixel(3));
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 250, 470), 0);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 275, 470), 0);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 262, 455), 0);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 539, 0), BlockPixel(8));
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 562, 23), BlockPixel(8));
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 563, 10), 0);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Visible, 251, 456), 0) << "the screen is not touched";
}

TEST_P(BoardDrawingTest, HiddenRowsAreNeverDrawn) {
    for (int row = 20; row < 24; ++row) {
        for (int column = 0; column < 13; ++column) {
            SetCell(column, row, 1);
        }
    }
    EXPECT_EQ(DrawBoard(), 1);
    EXPECT_TRUE(fake::Blits().empty());
}

TEST_P(BoardDrawingTest, WalksRowsBottomUpAndColumnsLeftToRight) {
    SetCell(5, 1, 2);
    SetCell(4, 1, 2);
    SetCell(7, 0, 2);
    DrawBoard();
    EXPECT_EQ(BlitCorners(), (Corners{{419, 456}, {347, 432}, {371, 432}}));
}

TEST_P(BoardDrawingTest, LostSurfacesAreDrawnPastOtherErrorsStop) {
    for (int row = 0; row < 20; ++row) {
        for (int column = 0; column < 13; ++column) {
            SetCell(column, row, static_cast<uint8_t>(1 + (row + column) % 8));
        }
    }
    fake::FailStep("display.blit", fake::kSurfaceLost);
    EXPECT_EQ(DrawBoard(), 1);
    EXPECT_EQ(fake::Blits().size(), 260u);
    fake::ClearDisplayRecords();
    fake::FailStep("display.blit", 1, 260 + 5);  // the fifth copy of the next pass
    EXPECT_EQ(DrawBoard(), 0);
    EXPECT_EQ(fake::Blits().size(), 5u);
}

TEST_P(BoardDrawingTest, FallingPieceCoversTheCellsItWillLockInto) {
    currentPiece = {2, 4, 3, 10, 0};  // T: row bytes 0xE, 0x4
    EXPECT_EQ(DrawPiece(0), 1);
    EXPECT_EQ(BlitCorners(), (Corners{{323, 216}, {347, 216}, {371, 216}, {347, 240}}));
    EXPECT_EQ(BlitPicture(0), 5) << "colour 4 is block picture 5";
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Back, 347, 240), BlockPixel(5));
}

TEST_P(BoardDrawingTest, PieceColourZeroLooksLikeCellValueOne) {
    currentPiece = {0, 0, 0, 1, 0};  // square: box rows 1-2, columns 1-2
    SetCell(0, 0, 1);
    DrawPiece(0);
    DrawBoard();
    EXPECT_EQ(BlitPicture(0), 1);
    EXPECT_EQ(BlitPicture(2), 1);
}

TEST_P(BoardDrawingTest, PieceEntersRowByRowFromTheTop) {
    currentPiece = {1, 0, 5, 24, 0};  // bar, upright: one cell in each box row
    DrawPiece(0);
    EXPECT_TRUE(fake::Blits().empty()) << "just spawned";
    currentPiece.row = 22;
    DrawPiece(0);
    EXPECT_EQ(BlitCorners(), (Corners{{251 + 24 * 5, 0}})) << "only box row 3, at grid row 19";
}

TEST_P(BoardDrawingTest, RowsBelowTheFloorAndEmptyColumnsAreSkipped) {
    currentPiece = {0, 0, -1, 2, 0};  // square against the left wall on the floor
    DrawPiece(0);
    EXPECT_EQ(BlitCorners(), (Corners{{251, 432}, {275, 432}, {251, 456}, {275, 456}}));
    fake::ClearDisplayRecords();
    currentPiece = {2, 2, 0, 0, 0};  // T with its second box row below the floor
    DrawPiece(0);
    EXPECT_EQ(BlitCorners(), (Corners{{251, 456}, {275, 456}, {299, 456}}));
}

TEST_P(BoardDrawingTest, NoPieceYetDrawsNothing) {
    EXPECT_EQ(DrawPiece(0), 1);
    EXPECT_EQ(DrawPiece(1), 1);
    EXPECT_TRUE(fake::Blits().empty());
}

TEST_P(BoardDrawingTest, PreviewPlacesEachShapeByItsOffset) {
    struct Case {
        int32_t shape;
        Corners corners;
    };
    const Case cases[] = {
        {1, {{113, 353}, {113, 377}, {113, 401}, {113, 425}}},
        {0, {{100, 377}, {124, 377}, {100, 401}, {124, 401}}},
        {2, {{88, 375}, {112, 375}, {136, 375}, {112, 399}}},
        {3, {{103, 365}, {103, 389}, {103, 413}, {127, 413}}},
        {5, {{97, 365}, {97, 389}, {121, 389}, {121, 413}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "shape " << c.shape);
        fake::ClearDisplayRecords();
        // The preview ignores the piece's own place.
        nextPiece = {c.shape, 6, 7, 13, 0};
        EXPECT_EQ(DrawPiece(1), 1);
        EXPECT_EQ(BlitCorners(), c.corners);
        EXPECT_EQ(BlitPicture(0), 7);
    }
}

TEST_P(BoardDrawingTest, PieceCopyErrorsAreIgnored) {
    currentPiece = {0, 0, 3, 5, 0};
    fake::FailStep("display.blit");
    EXPECT_EQ(DrawPiece(0), 1);
    EXPECT_EQ(fake::Blits().size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, BoardDrawingTest,
                         ::testing::Values(PixelLayout::Rgb565, PixelLayout::Rgb555),
                         [](const auto& info) { return LayoutName(info.param); });

}  // namespace
}  // namespace korvane::testing
