// The two menu screens: their keys in test order, the wipe flag, the music
// rules and the exit.
#include <gtest/gtest.h>

#include "app/frame.h"
#include "app/menus.h"
#include "app/screen_state.h"
#include "game/board.h"
#include "input/key_map.h"
#include "platform/fake/fake_display.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "tests/app/app_fixture.h"

namespace korvane {
namespace {

using testing::FrameTest;
using MenuTest = FrameTest;

bool Playing(SoundId id) {
    return (SoundStatus(id) & kStatusPlaying) != 0 && SoundStatus(id) != 0xFFFFFFFFu;
}

TEST_F(MenuTest, FirstMenuFrameWipesOverTheLoadingPictureThenFlips) {
    EXPECT_EQ(State(), "MainMenu");
    EXPECT_EQ(menuWipePending, 1u);
    fake::ClearDisplayRecords();
    RunFrame();
    EXPECT_TRUE(fake::StripCopies() == 107 || fake::StripCopies() == 120) << fake::StripCopies();
    EXPECT_EQ(menuWipePending, 0u);
    EXPECT_TRUE(Playing(menuMusic));
    fake::ClearDisplayRecords();
    RunFrame();
    EXPECT_EQ(fake::StripCopies(), 0);
    EXPECT_EQ(fake::Flips(), 1);
}

TEST_F(MenuTest, NWinsOverGAndStartsAFreshGame) {
    RunFrame();
    Hold(kKeyN);
    Hold(kKeyG);
    Hold(kKeyE);
    RunFrame();
    EXPECT_EQ(State(), "Playing");
    EXPECT_EQ(menuWipePending, 1u);
    EXPECT_FALSE(Playing(menuMusic)) << "N stops the menu music";
    EXPECT_NE(lastInputTick, 0u);
    EXPECT_GE(lastGravityTick, lastInputTick) << "two readings, input first";
}

TEST_F(MenuTest, GKeepsTheMusicAndTheFileMenuIgnoresLAndS) {
    RunFrame();
    Hold(kKeyG);
    RunFrame();
    Release(kKeyG);
    EXPECT_EQ(State(), "FileMenu");
    EXPECT_TRUE(Playing(menuMusic));
    const PieceState piece = currentPiece;
    Hold(kKeyL);
    Hold(kKeyS);
    for (int i = 0; i < 5; ++i) {
        RunFrame();
    }
    EXPECT_EQ(State(), "FileMenu");
    EXPECT_TRUE(Playing(menuMusic));
    EXPECT_EQ(currentPiece.shape, piece.shape);
    Release(kKeyL);
    Release(kKeyS);
    fake::ClearDisplayRecords();
    Hold(kKeyB);
    RunFrame();
    Release(kKeyB);
    EXPECT_EQ(State(), "MainMenu");
    EXPECT_EQ(menuWipePending, 1u) << "B asks for the wipe back on the main menu";
    RunFrame();
    EXPECT_GT(fake::StripCopies(), 100);
}

TEST_F(MenuTest, MenuThatCannotBeShownReadsNoKeys) {
    RunFrame();
    Hold(kKeyN);
    fake::FailStep("display.lock");
    const int reads = fake::KeyboardReads();
    RunFrame();
    EXPECT_EQ(State(), "MainMenu");
    EXPECT_EQ(fake::KeyboardReads(), reads);
}

TEST_F(MenuTest, ExitWipesToBlackAndEndsWithQuit) {
    RunFrame();
    fake::ClearDisplayRecords();
    Hold(kKeyE);
    RunFrame();
    EXPECT_EQ(State(), "Quit");
    EXPECT_EQ(fake::Fills(), 1);
    EXPECT_EQ(fake::LastFillColor(), 0u);
    EXPECT_TRUE(fake::StripCopies() == 107 || fake::StripCopies() == 120);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Visible, 639, 479), 0);
    EXPECT_EQ(fake::PixelAt(fake::Buffer::Visible, 0, 0), 0);
    EXPECT_FALSE(Playing(menuMusic));
}

}  // namespace
}  // namespace korvane
