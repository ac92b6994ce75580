#include "tests/support/rules_fixture.h"

#include <vector>

#include "game/piece_cells.h"
#include "sound/sound.h"
#include "tests/support/wav_bytes.h"

namespace korvane::testing {

void UseEffectSounds() {
    // Whatever an earlier test left in the slots belonged to the fake machine
    // before its reset.
    SoundShutdown();
    SoundInit();
    for (const char* path : {"Sound\\Thud.wav", "Sound\\Drop.wav", "Sound\\Rotate.wav"}) {
        fake::AddFile(path, SimpleWav(Bytes(80, 0x80)));  // 10 ms of silence
    }
    ThudSound = SoundLoadWav("Sound\\Thud.wav", 0);
    DropSound = SoundLoadWav("Sound\\Drop.wav", 0);
    RotateSound = SoundLoadWav("Sound\\Rotate.wav", 0);
}

int PlayCount(SoundId id) {
    int count = 0;
    for (const auto& call : fake::SoundCalls()) {
        count += (call.op == "play" && call.slot == id) ? 1 : 0;
    }
    return count;
}

void RulesTest::SetUp() {
    fake::Reset();
    InitClock();
    ASSERT_EQ(AllocateBoard(), 1);
    ClearBoard();
    ResetCounters();
    UseEffectSounds();
}

void RulesTest::TearDown() {
    FreeBoard();
}

void RulesTest::SetCell(int column, int row, uint8_t value) {
    BoardCells()[row * kBoardColumns + column] = value;
}

void RulesTest::FillRow(int row, int gapColumn) {
    for (int column = 0; column < kBoardColumns; ++column) {
        SetCell(column, row, column == gapColumn ? 0 : 1);
    }
}

void RulesTest::Place(int32_t shape, uint32_t rotation, int32_t column, int32_t row,
                      uint32_t color) {
    currentPiece = PieceState{shape, color, column, row, rotation};
}

std::string RulesTest::BoardPicture() {
    std::string picture;
    for (int row = kBoardRows - 1; row >= 0; --row) {
        for (int column = 0; column < kBoardColumns; ++column) {
            picture += static_cast<char>('0' + BoardCell(column, row));
        }
        picture += '\n';
    }
    return picture;
}

std::string RulesTest::PieceCells() {
    std::string cells;
    ForEachPieceCell(currentPiece, [&cells](int column, int row) {
        cells += (cells.empty() ? "" : " ") + std::to_string(column) + "," + std::to_string(row);
        return true;
    });
    return cells;
}

}  // namespace korvane::testing
