#pragma once
// A fresh fake machine with the clock running, an empty board and the effect
// sounds in slots of their own, for tests of the rules.
#include <gtest/gtest.h>

#include <string>

#include "game/board.h"
#include "game/movement.h"
#include "game/scoring.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "timing/clock.h"

namespace korvane::testing {

// Brings the sound device up and loads three short sounds into ThudSound,
// DropSound and RotateSound (slots 0, 1 and 2), so that their plays can be
// counted with PlayCount.
void UseEffectSounds();

// How often `id` was started since the last fake::Reset or ClearSoundCalls.
int PlayCount(SoundId id);

class RulesTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    static void SetCell(int column, int row, uint8_t value);
    // Fills a row with colour-1 blocks, leaving `gapColumn` empty (-1: none).
    static void FillRow(int row, int gapColumn = -1);
    static void Place(int32_t shape, uint32_t rotation, int32_t column, int32_t row,
                      uint32_t color = 0);
    // The board as text, top row first, for failure messages.
    static std::string BoardPicture();
    // The cells of the falling piece as "column,row" pairs, top-left first.
    static std::string PieceCells();
};

}  // namespace korvane::testing
