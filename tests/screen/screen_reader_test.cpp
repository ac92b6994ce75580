// The end-to-end tests' screen reader on pictures made here: both picture
// files it takes, the well read where the game draws it, the falling piece
// told from the settled blocks, the room it has as the game moves and turns
// pieces (from the game's own shape table), and each check's verdicts.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/frame.h"
#include "tests/screen/picture.h"
#include "tests/screen/piece_checks.h"
#include "tests/screen/well.h"

namespace korvane::screen {
namespace {

// The playing picture of the test assets (0x10 0x10 0x40), as X widens its
// 5-6-5 pixels; the browsers and the headless build give 64 for the blue.
constexpr uint8_t kPlaying[3] = {16, 16, 66};
constexpr uint8_t kBlock[3] = {0x30, 0xCF, 0x80};

// ---- Pictures made here -------------------------------------------------

Picture Plain(int width, int height, const uint8_t colour[3]) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(3 * static_cast<size_t>(width) * height);
    for (size_t at = 0; at < picture.rgb.size(); at += 3) {
        std::copy(colour, colour + 3, &picture.rgb[at]);
    }
    return picture;
}

void Fill(Picture* picture, int x0, int y0, int size, const uint8_t colour[3]) {
    for (int y = y0; y < y0 + size; ++y) {
        for (int x = x0; x < x0 + size; ++x) {
            std::copy(colour, colour + 3,
                      &picture->rgb[3 * (static_cast<size_t>(y) * picture->width + x)]);
        }
    }
}

// The game's screen on the test pictures with these cells of the well drawn.
Picture Screen(const Well& well, const uint8_t background[3] = kPlaying) {
    Picture picture = Plain(kScreenWidth, kScreenHeight, background);
    for (int row = 0; row < kWellRows; ++row) {
        for (int column = 0; column < kWellColumns; ++column) {
            if (well.At(column, row)) {
                Fill(&picture, kWellLeft + column * kBlockSize, kWellTop + row * kBlockSize,
                     kBlockSize, kBlock);
            }
        }
    }
    return picture;
}

void Put32(std::vector<uint8_t>* bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes->push_back(static_cast<uint8_t>(value >> shift));
    }
}

// An X window dump as xwd writes a depth-24 screen: 32-bit pixels, least
// significant byte first, blue in the low byte; a window name after the
// header, and one colour entry to step over.
std::vector<uint8_t> Xwd(const Picture& picture) {
    const char name[] = "xwdump";
    const uint32_t header = 25 * 4 + sizeof name;
    const uint32_t fields[25] = {header,
                                 7,
                                 2,
                                 24,
                                 static_cast<uint32_t>(picture.width),
                                 static_cast<uint32_t>(picture.height),
                                 0,
                                 0,
                                 32,
                                 0,
                                 32,
                                 32,
                                 static_cast<uint32_t>(picture.width) * 4,
                                 4,
                                 0xFF0000,
                                 0xFF00,
                                 0xFF,
                                 8,
                                 256,
                                 1,
                                 static_cast<uint32_t>(picture.width),
                                 static_cast<uint32_t>(picture.height),
                                 0,
                                 0,
                                 0};
    std::vector<uint8_t> bytes;
    for (uint32_t field : fields) {
        Put32(&bytes, field);
    }
    bytes.insert(bytes.end(), name, name + sizeof name);
    bytes.insert(bytes.end(), 12, 0);  // the colour entry
    for (size_t at = 0; at < picture.rgb.size(); at += 3) {
        bytes.push_back(picture.rgb[at + 2]);
        bytes.push_back(picture.rgb[at + 1]);
        bytes.push_back(picture.rgb[at]);
        bytes.push_back(0);
    }
    return bytes;
}

void Chunk(std::vector<uint8_t>* png, const char* type, const std::vector<uint8_t>& body) {
    Put32(png, static_cast<uint32_t>(body.size()));
    const size_t start = png->size();
    png->insert(png->end(), type, type + 4);
    png->insert(png->end(), body.begin(), body.end());
    Put32(png,
          static_cast<uint32_t>(crc32(0, &(*png)[start], static_cast<uInt>(png->size() - start))));
}

// A PNG file with every row filter in turn (none, sub, up, average, Paeth),
// its data split over two chunks, with or without alpha.
std::vector<uint8_t> Png(const Picture& picture, bool alpha) {
    const size_t channels = alpha ? 4 : 3;
    const size_t row = picture.width * channels;
    std::vector<uint8_t> previous(row, 0);
    std::vector<uint8_t> raw;
    for (int y = 0; y < picture.height; ++y) {
        std::vector<uint8_t> line;
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.At(x, y);
            line.insert(line.end(), p, p + 3);
            if (alpha) {
                line.push_back(255);
            }
        }
        const uint8_t filter = static_cast<uint8_t>(y % 5);
        raw.push_back(filter);
        for (size_t x = 0; x < row; ++x) {
            const int left = x >= channels ? line[x - channels] : 0;
            const int up = previous[x];
            const int up_left = x >= channels ? previous[x - channels] : 0;
            int predicted = 0;
            if (filter == 1) {
                predicted = left;
            } else if (filter == 2) {
                predicted = up;
            } else if (filter == 3) {
                predicted = (left + up) / 2;
            } else if (filter == 4) {
                const int p = left + up - up_left;
                const int pa = std::abs(p - left), pb = std::abs(p - up),
                          pc = std::abs(p - up_left);
                predicted = pa <= pb && pa <= pc ? left : pb <= pc ? up : up_left;
            }
            raw.push_back(static_cast<uint8_t>(line[x] - predicted));
        }
        previous = line;
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(size);
    EXPECT_EQ(compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
    packed.resize(size);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    Put32(&header, static_cast<uint32_t>(picture.width));
    Put32(&header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(), {8, static_cast<uint8_t>(alpha ? 6 : 2), 0, 0, 0});
    Chunk(&png, "IHDR", header);
    const size_t half = packed.size() / 2;
    Chunk(&png, "IDAT", std::vector<uint8_t>(packed.begin(), packed.begin() + half));
    Chunk(&png, "IDAT", std::vector<uint8_t>(packed.begin() + half, packed.end()));
    Chunk(&png, "IEND", {});
    return png;
}

// ---- Wells made here ----------------------------------------------------

void Set(Well* well, int column, int row) {
    well->block[row * kWellColumns + column] = true;
}

// A piece of the game's shape table, its box's top-left cell at `left`,
// `top` (rows counted down from the top of the well, as the reader counts).
void PutPiece(Well* well, int shape, int rotation, int left, int top) {
    const uint8_t* rows = ShapeTable[shape][rotation];
    for (int j = 0; j < kBoxSize; ++j) {
        for (int p = 0; p < kBoxSize; ++p) {
            if (BoxCellSet(rows[j], p)) {
                Set(well, left + p, top + j);
            }
        }
    }
}

// The bar standing upright in column `column`, its top at `top`.
Well Bar(int column, int top) {
    Well well;
    PutPiece(&well, 1, 0, column, top);
    return well;
}

// A settled column of blocks from the floor up to row `top`.
void Stack(Well* well, int column, int top) {
    for (int row = top; row < kWellRows; ++row) {
        Set(well, column, row);
    }
}

Well ReadBack(const Picture& picture) {
    Well well;
    EXPECT_TRUE(ReadWell(picture, &well));
    return well;
}

TEST(ScreenReader, ReadsXwdAndPngAlikeAndRefusesWhatIsNeither) {
    Well well;
    PutPiece(&well, 2, 0, 4, 6);
    const Picture screen = Screen(well);
    for (const std::vector<uint8_t>& bytes : {Xwd(screen), Png(screen, false), Png(screen, true)}) {
        Picture read;
        ASSERT_TRUE(ReadPicture(bytes, &read));
        EXPECT_EQ(read.width, screen.width);
        EXPECT_EQ(read.height, screen.height);
        EXPECT_EQ(DifferingPixels(read, screen, 0), 0);
        // Cut short, a picture is not taken for a whole one.
        Picture cut;
        EXPECT_FALSE(
            ReadPicture(std::vector<uint8_t>(bytes.begin(), bytes.end() - bytes.size() / 3), &cut));
    }
    Picture none;
    EXPECT_FALSE(ReadPicture(std::vector<uint8_t>(200, 7), &none));
    // Pictures of other sizes differ everywhere; a pixel off by more than
    // the tolerance counts once, however many channels it is off in.
    EXPECT_EQ(DifferingPixels(screen, Plain(2, 2, kPlaying), 0),
              int64_t{kScreenWidth} * kScreenHeight);
    Picture moved = screen;
    moved.rgb[0] = static_cast<uint8_t>(moved.rgb[0] + 3);
    moved.rgb[1] = static_cast<uint8_t>(moved.rgb[1] + 3);
    EXPECT_EQ(DifferingPixels(moved, screen, 0), 1);
    EXPECT_EQ(DifferingPixels(moved, screen, 3), 0);
}

TEST(ScreenReader, ReadsEachCellWhereTheGameDrawsTheWell) {
    // Cells in every corner of the well and one in its middle, on both
    // widenings of the playing picture's colour.
    Well well;
    Set(&well, 0, 0);
    Set(&well, kWellColumns - 1, 0);
    Set(&well, 0, kWellRows - 1);
    Set(&well, kWellColumns - 1, kWellRows - 1);
    Set(&well, 6, 9);
    const uint8_t page_playing[3] = {16, 16, 64};
    for (const uint8_t* background : {kPlaying, page_playing}) {
        EXPECT_EQ(ReadBack(Screen(well, background)).Text(), well.Text());
    }
    // A block drawn just outside the well, on either side, is not in it.
    Picture outside = Screen(Well{});
    Fill(&outside, kWellLeft - kBlockSize, kWellTop, kBlockSize, kBlock);
    Fill(&outside, kWellRight + 1, kWellBottom + 1 - kBlockSize, kBlockSize, kBlock);
    EXPECT_EQ(ReadBack(outside).Count(), 0);
    // A screen of another size is not the game's.
    Well ignored;
    EXPECT_FALSE(ReadWell(Plain(1024, 768, kPlaying), &ignored));
}

TEST(ScreenReader, TheFallingPieceIsFourCellsOffTheFloorWhereverTheStackIs) {
    // A tall stack at the left wall reaches higher than the piece falling in
    // the middle: the piece is still the one found, not the topmost blocks.
    Well well;
    Stack(&well, 0, 4);
    Stack(&well, 1, 6);
    PutPiece(&well, 5, 0, 6, 7);  // the S standing, rows 7 to 9
    std::optional<Piece> piece = FallingPiece(well);
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->left, 7);
    EXPECT_EQ(piece->top, 7);
    EXPECT_EQ(piece->width, 2);
    EXPECT_EQ(piece->height, 3);
    // Its room is to the highest block anywhere (a key may take it there):
    // none left, so it may land at once, though its own columns are empty.
    EXPECT_EQ(piece->room, 4 - 9 - 1);

    // Resting on a block, beside one, on the floor or still coming into
    // view, no piece is falling.
    Well resting = Bar(4, 10);
    Stack(&resting, 4, 14);
    EXPECT_FALSE(FallingPiece(resting));
    Well beside = Bar(4, 3);
    Stack(&beside, 5, 6);
    EXPECT_FALSE(FallingPiece(beside));
    EXPECT_FALSE(FallingPiece(Bar(4, kWellRows - kBoxSize)));
    Well coming;
    Set(&coming, 5, 0);
    Set(&coming, 5, 1);
    Set(&coming, 6, 1);
    EXPECT_FALSE(FallingPiece(coming));

    // Just in view at the top it is fresh; a box's height down it is not.
    piece = FallingPiece(Bar(5, 0));
    ASSERT_TRUE(piece);
    EXPECT_TRUE(Fresh(*piece));
    EXPECT_EQ(piece->room, kWellRows - kBoxSize);
    piece = FallingPiece(Bar(5, kBoxSize));
    ASSERT_TRUE(piece);
    EXPECT_FALSE(Fresh(*piece));
}

TEST(ScreenReader, OnlyTheSquareLooksTheSameTurned) {
    for (int shape = 0; shape < kShapeCount; ++shape) {
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            Well well;
            PutPiece(&well, shape, rotation, 4, 2);
            const std::optional<Piece> piece = FallingPiece(well);
            ASSERT_TRUE(piece) << "shape " << shape << " rotation " << rotation;
            EXPECT_EQ(ShowsTurn(*piece), shape != 0) << "shape " << shape;
        }
    }
}

// How far a piece can fall in the well before resting on a block or the
// floor, as the game moves it.
int FreeRows(const Well& settled, int shape, int rotation, int left, int top) {
    for (int fall = 0;; ++fall) {
        const uint8_t* rows = ShapeTable[shape][rotation];
        for (int j = 0; j < kBoxSize; ++j) {
            for (int p = 0; p < kBoxSize; ++p) {
                if (!BoxCellSet(rows[j], p)) {
                    continue;
                }
                const int row = top + j + fall + 1;
                if (row >= kWellRows || settled.At(left + p, row)) {
                    return fall;
                }
            }
        }
    }
}

bool Fits(const Well& settled, int shape, int rotation, int left, int top) {
    const uint8_t* rows = ShapeTable[shape][rotation];
    for (int j = 0; j < kBoxSize; ++j) {
        for (int p = 0; p < kBoxSize; ++p) {
            if (BoxCellSet(rows[j], p) && (left + p < 0 || left + p >= kWellColumns ||
                                           top + j >= kWellRows || settled.At(left + p, top + j))) {
                return false;
            }
        }
    }
    return true;
}

// The room the reader gives a piece never promises more than the game
// allows: for every shape and turn, over a block anywhere under it, the
// piece moved a column either way, or turned in its box as the game turns
// it (once or more, as a held key may between two pictures), can fall at
// least that far (or the move does not fit). Room measured under the
// piece's own columns only would promise too much; so would a turn taken
// to reach no lower than the piece's bottom.
TEST(ScreenReader, RoomNeverPromisesMoreThanTheGameAllows) {
    constexpr int kTop = 3;
    constexpr int kLeft = 4;
    int cases = 0;
    for (int shape = 0; shape < kShapeCount; ++shape) {
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            for (int column = 0; column < kWellColumns; ++column) {
                for (int row = kTop + kBoxSize; row < kWellRows; ++row) {
                    Well settled;
                    Stack(&settled, column, row);
                    Well well = settled;
                    PutPiece(&well, shape, rotation, kLeft, kTop);
                    const std::optional<Piece> piece = FallingPiece(well);
                    if (!piece) {
                        continue;  // it touches the stack already
                    }
                    for (int step : {-1, 1}) {
                        if (Fits(settled, shape, rotation, kLeft + step, kTop)) {
                            EXPECT_LE(piece->room,
                                      FreeRows(settled, shape, rotation, kLeft + step, kTop))
                                << "shape " << shape << " rotation " << rotation << " moved "
                                << step << " over column " << column << " row " << row;
                            ++cases;
                        }
                    }
                    for (int turns = 1; turns < kRotationCount; ++turns) {
                        const int turned = (rotation + turns) % kRotationCount;
                        if (Fits(settled, shape, turned, kLeft, kTop)) {
                            EXPECT_LE(piece->turn_room,
                                      FreeRows(settled, shape, turned, kLeft, kTop))
                                << "shape " << shape << " rotation " << rotation << " turned "
                                << turns << " times over column " << column << " row " << row;
                            ++cases;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(cases, 1000);
}

// ---- Verdicts -----------------------------------------------------------

constexpr int64_t kSecond = 1000000;

struct Follow {
    Well known;
    std::vector<Reading> readings;

    // A picture of `well` taken from `at` seconds to 20 ms later.
    Follow& Then(const Well& well, double at, bool pressed_again = false) {
        Reading reading;
        reading.well = well;
        reading.began_us = static_cast<int64_t>(at * kSecond);
        reading.ended_us = reading.began_us + kSecond / 50;
        reading.pressed_again = pressed_again;
        readings.push_back(reading);
        return *this;
    }
    Verdict Judged(Check check) const { return Judge(check, known, readings); }
};

Follow From(const Well& known) {
    Follow follow;
    follow.known = known;
    return follow.Then(known, 0);
}

Well T(int rotation, int left, int top) {
    Well well;
    PutPiece(&well, 2, rotation, left, top);
    return well;
}

TEST(ScreenReader, GravityIsAtMostOneRowAGravityInterval) {
    EXPECT_EQ(RowsByGravity(0, 0), 2);
    EXPECT_EQ(RowsByGravity(0, int64_t{kGravityIntervalMs} * 1000 - 1), 2);
    EXPECT_EQ(RowsByGravity(0, int64_t{kGravityIntervalMs} * 1000), 3);
    EXPECT_EQ(RowsByGravity(kSecond, 3 * kSecond), 2 + 2000 / static_cast<int>(kGravityIntervalMs));
}

TEST(ScreenReader, SidewaysPassesOnTheMoveAndFailsOnFourRowsHeldInPlace) {
    Check check;
    ASSERT_TRUE(ParseCheck("left", &check));
    ASSERT_EQ(check, Check::kLeft);
    EXPECT_FALSE(ParseCheck("sideways", &check));

    const Well start = T(0, 5, 1);
    EXPECT_EQ(From(start).Then(T(0, 5, 2), 0.2).Judged(Check::kLeft).outcome, Outcome::kWait);
    const Verdict moved =
        From(start).Then(T(0, 5, 2), 0.2).Then(T(0, 4, 2), 0.3).Judged(Check::kLeft);
    EXPECT_EQ(moved.outcome, Outcome::kPass);
    EXPECT_EQ(moved.why, "column 5 -> 4");
    // Right is not Left.
    EXPECT_EQ(From(start).Then(T(0, 4, 2), 0.3).Judged(Check::kRight).outcome, Outcome::kWait);
    EXPECT_EQ(From(start).Then(T(0, 6, 2), 0.3).Judged(Check::kRight).outcome, Outcome::kPass);

    // Four rows with the key held, in one stretch: the key did nothing.
    Follow stayed = From(start);
    for (int row = 1; row <= 5; ++row) {
        stayed.Then(T(0, 5, row), 0.25 * row);
    }
    const Verdict failed = stayed.Judged(Check::kLeft);
    EXPECT_EQ(failed.outcome, Outcome::kFail);
    EXPECT_EQ(failed.why, "it fell 4 rows with the key held and stayed in its column");
    // The rows it fell while the key was up (between stretches) are not the
    // key's: two rows in each of two stretches, and two more between them.
    Follow stretches = From(start);
    stretches.Then(T(0, 5, 1), 0.2).Then(T(0, 5, 3), 0.7);
    stretches.Then(T(0, 5, 5), 1.2, true).Then(T(0, 5, 6), 1.45);
    EXPECT_EQ(stretches.Judged(Check::kLeft).outcome, Outcome::kWait);
    stretches.Then(T(0, 5, 7), 1.7);
    EXPECT_EQ(stretches.Judged(Check::kLeft).outcome, Outcome::kFail);
}

TEST(ScreenReader, AMomentMissedIsLostNeverAnswered) {
    const Well start = T(0, 5, 1);
    // The piece before the key is not the one last seen.
    Follow elsewhere = From(start).Then(T(0, 4, 2), 0.2);
    elsewhere.known = T(0, 6, 0);
    EXPECT_EQ(elsewhere.Judged(Check::kLeft).outcome, Outcome::kLost);
    Follow other = From(start);
    other.readings[0].well = T(1, 5, 1);
    EXPECT_EQ(other.Then(T(1, 4, 1), 0.2).Judged(Check::kLeft).why,
              "the piece was gone before its key");
    // Long enough for gravity to have taken it onto the blocks: whatever the
    // picture shows then, it answers nothing.
    Well low = T(0, 5, 1);
    Stack(&low, 0, 6);  // room 3: rows 3 to 5 free under the T
    const Verdict late = From(low).Then(T(0, 4, 1), 0.5).Judged(Check::kLeft);
    EXPECT_EQ(late.outcome, Outcome::kLost);
    EXPECT_EQ(late.why, "it may have landed");
    Well moved = T(0, 4, 1);
    Stack(&moved, 0, 6);
    EXPECT_EQ(From(low).Then(moved, 0.2).Judged(Check::kLeft).outcome, Outcome::kPass);
    // Another shape, a piece gone, or one higher: not the piece followed.
    EXPECT_EQ(From(start).Then(Bar(4, 2), 0.2).Judged(Check::kLeft).outcome, Outcome::kLost);
    EXPECT_EQ(From(start).Then(Well{}, 0.2).Judged(Check::kLeft).outcome, Outcome::kLost);
    EXPECT_EQ(From(T(0, 5, 4)).Then(T(0, 4, 0), 0.2).Judged(Check::kLeft).outcome, Outcome::kLost);
    // A picture that could not be read is no sight of it.
    Follow unread = From(start).Then(T(0, 4, 1), 0.2);
    unread.readings[1].readable = false;
    EXPECT_EQ(unread.Judged(Check::kLeft).outcome, Outcome::kLost);
    // The same readings, the same verdict.
    const Follow again = From(start).Then(T(0, 5, 2), 0.2).Then(T(0, 4, 2), 0.3);
    EXPECT_EQ(again.Judged(Check::kLeft).why, again.Judged(Check::kLeft).why);
}

TEST(ScreenReader, ATurnIsAnotherShapeOrPlaceAndAllowsForReachingLower) {
    const Verdict turned = From(T(0, 5, 1)).Then(T(1, 5, 1), 0.2).Judged(Check::kTurn);
    EXPECT_EQ(turned.outcome, Outcome::kPass);
    EXPECT_EQ(turned.why, "3x2 -> 2x3, at column 5 -> 5");
    Follow never = From(T(0, 5, 1));
    for (int row = 2; row <= 6; ++row) {
        never.Then(T(0, 5, row), 0.25 * row);
    }
    EXPECT_EQ(never.Judged(Check::kTurn).outcome, Outcome::kFail);
    // Rows 3 to 6 free under the flat T: four rows to fall moving, but a turn
    // takes its cells a row lower, so by 0.3 s (three rows of gravity at
    // most) the turn's moment may have passed, and a move's not yet.
    Well start = T(0, 5, 1);
    Stack(&start, 0, 7);
    EXPECT_EQ(FallingPiece(start)->room, 4);
    EXPECT_EQ(FallingPiece(start)->turn_room, 3);
    EXPECT_EQ(From(start).Then(start, 0.3).Judged(Check::kLeft).outcome, Outcome::kWait);
    EXPECT_EQ(From(start).Then(start, 0.3).Judged(Check::kTurn).outcome, Outcome::kLost);
}

TEST(ScreenReader, DownIsFasterThanGravityFromAnySight) {
    const Well start = Bar(5, 0);
    // Five rows in 0.3 s: gravity alone takes it three at most.
    const Verdict fast = From(start).Then(Bar(5, 5), 0.3).Judged(Check::kDown);
    EXPECT_EQ(fast.outcome, Outcome::kPass);
    EXPECT_EQ(fast.why, "5 rows in 0.32 s, gravity alone at most 3");
    // At gravity's pace it waits, and after a stall, the rows from a later
    // sight count.
    Follow stalled = From(start).Then(Bar(5, 2), 0.5).Then(Bar(5, 3), 1.5);
    EXPECT_EQ(stalled.Judged(Check::kDown).outcome, Outcome::kWait);
    stalled.Then(Bar(5, 7), 1.7);
    EXPECT_EQ(stalled.Judged(Check::kDown).outcome, Outcome::kPass);
    // On the floor, or moved sideways, it answers nothing.
    EXPECT_EQ(From(start).Then(Bar(5, kWellRows - kBoxSize), 0.3).Judged(Check::kDown).outcome,
              Outcome::kLost);
    EXPECT_EQ(From(start).Then(Bar(6, 5), 0.3).Judged(Check::kDown).outcome, Outcome::kLost);
}

TEST(ScreenReader, TheFallIsGravityAloneInItsColumn) {
    const Well start = T(2, 3, 0);
    EXPECT_EQ(From(start).Then(T(2, 3, 0), 0.2).Judged(Check::kFall).outcome, Outcome::kWait);
    const Verdict fell = From(start).Then(T(2, 3, 1), 0.3).Judged(Check::kFall);
    EXPECT_EQ(fell.outcome, Outcome::kPass);
    EXPECT_EQ(fell.why, "top row 1 -> 2");
    EXPECT_EQ(From(start).Then(T(2, 4, 1), 0.3).Judged(Check::kFall).outcome, Outcome::kLost);
}

TEST(ScreenReader, AResumedGameKeepsItsSettledBlocksAndItsPiece) {
    Well before;
    Stack(&before, 0, 15);
    Stack(&before, 1, 18);
    PutPiece(&before, 3, 0, 6, 4);
    Well after;
    Stack(&after, 0, 15);
    Stack(&after, 1, 18);
    PutPiece(&after, 3, 0, 6, 6);
    EXPECT_EQ(Resumed(before, after).outcome, Outcome::kPass);
    EXPECT_EQ(Resumed(before, after).why, "7 settled blocks where they were, and its piece");
    Well lost_block = after;
    lost_block.block[19 * kWellColumns + 1] = false;
    EXPECT_EQ(Resumed(before, lost_block).outcome, Outcome::kFail);
    Well no_piece;
    Stack(&no_piece, 0, 15);
    Stack(&no_piece, 1, 18);
    EXPECT_EQ(Resumed(before, no_piece).outcome, Outcome::kFail);
    Well full;
    full.block.fill(true);
    EXPECT_EQ(Resumed(before, full).outcome, Outcome::kFail);
    // Left between two pieces, with none in view or one coming into it, and
    // come back so, or with it further down.
    Well between;
    Stack(&between, 0, 15);
    Stack(&between, 1, 18);
    EXPECT_EQ(Resumed(between, between).outcome, Outcome::kPass);
    Well coming = between;
    Set(&coming, 5, 0);
    EXPECT_EQ(Resumed(coming, after).outcome, Outcome::kPass);
    EXPECT_EQ(Resumed(coming, between).outcome, Outcome::kFail);
    // A game with nothing settled yet comes back with its piece.
    EXPECT_EQ(Resumed(T(0, 5, 1), T(0, 5, 3)).outcome, Outcome::kPass);
    EXPECT_EQ(Resumed(T(0, 5, 1), Well{}).outcome, Outcome::kFail);
}

}  // namespace
}  // namespace korvane::screen
