// Start-up in its order behind the loading picture, every way it can fail,
// and the shut-down that releases exactly what was made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/menus.h"
#include "app/startup.h"
#include "game/board.h"
#include "platform/fake/fake_platform.h"
#include "platform/fake/fake_window.h"
#include "tests/app/app_fixture.h"
#include "tests/support/test_assets.h"

namespace korvane {
namespace {

using testing::Replay;

// The journal lines that release, close or restore something, in order.
std::vector<std::string> Releases() {
    std::vector<std::string> lines;
    for (const auto& line : fake::JournalLines()) {
        const bool releases = line.find("release") != std::string::npos ||
                              line.find("unacquire") != std::string::npos ||
                              line.find("restore") != std::string::npos ||
                              (line.find(".close") != std::string::npos && line != "file.close");
        if (releases) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::vector<std::string> kVideoDown = {"display.restore", "surface.release primary 640x480",
                                             "display.close"};
const std::vector<std::string> kInputDown = {"input.mouse.unacquire", "input.mouse.release",
                                             "input.keyboard.unacquire", "input.keyboard.release",
                                             "input.release"};
const std::vector<std::string> kBlocksDown(8, "surface.release offscreen 24x24");

TEST(StartUp, RunsInItsOrderAndLoadsTheFiveSoundsIntoSlotsZeroToFour) {
    const auto result = Replay("end 9000\n");
    EXPECT_EQ(result.outcome.exitCode, 0);
    // What the game opened, in order.
    std::vector<std::string> opened;
    for (const auto& line : fake::JournalLines()) {
        if (line.rfind("file.open ", 0) == 0 || line == "display.mode 640x480x16" ||
            line == "input.create" || line == "sound.create" || line == "window.show" ||
            line == "window.cursor hide") {
            opened.push_back(line);
        }
    }
    const std::vector<std::string> expected = {
        "window.cursor hide",
        "window.show",
        "display.mode 640x480x16",
        "file.open Art\\Loading.kvp",
        "file.open Art\\Main.kvp",
        "input.create",
        "sound.create",
        "file.open Sound\\Music.wav",
        "file.open Art\\Block1.kvp",
        "file.open Art\\Block2.kvp",
        "file.open Art\\Block3.kvp",
        "file.open Art\\Block4.kvp",
        "file.open Art\\Block5.kvp",
        "file.open Art\\Block6.kvp",
        "file.open Art\\Block7.kvp",
        "file.open Art\\Block8.kvp",
        "file.open Sound\\Thud.wav",
        "file.open Sound\\Drop.wav",
        "file.open Sound\\Rotate.wav",
        "file.open Art\\Menu.kvp",
        "file.open Art\\FileMenu.kvp",
        "file.open Sound\\Background.wav",
    };
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(gameMusic, 0);
    EXPECT_EQ(ThudSound, 1);
    EXPECT_EQ(DropSound, 2);
    EXPECT_EQ(RotateSound, 3);
    EXPECT_EQ(menuMusic, 4);
    // The eight block pictures pause half a second each behind the loading
    // picture: the first frame starts after four seconds.
    ASSERT_FALSE(result.frames.empty());
    EXPECT_GE(result.frames.front().t, 4000u);
    EXPECT_EQ(result.frames.front().state, "MainMenu");
    // Shut-down: game assets, sound, input, video.
    const std::vector<std::string> sounds = {"sound.release slot=0", "sound.release slot=1",
                                             "sound.release slot=2", "sound.release slot=3",
                                             "sound.release slot=4", "sound.release"};
    EXPECT_EQ(Releases(), Concat({kBlocksDown, sounds, kInputDown, kVideoDown}));
    EXPECT_TRUE(fake::CursorVisible());
}

struct FailureCase {
    const char* step;
    const char* message;  // empty: the step fails silently
    std::vector<std::string> released;
};

TEST(StartUp, EveryFailingStepShowsItsMessageReleasesWhatWasMadeAndExitsWithOne) {
    const std::vector<FailureCase> cases = {
        {"display.open", "Unable to create Direct Draw Object.", {}},
        {"display.version",
         "Unable to create Direct Draw 4 Object. Make sure you have DX 6.0+.",
         {"display.close"}},
        {"display.exclusive",
         "Unable to Set the Cooperative Level.",
         {"display.restore", "display.close"}},
        {"display.mode", "Unable to Set the Display Mode.", {"display.restore", "display.close"}},
        {"display.primary",
         "Unable to create primary surface.",
         {"display.restore", "display.close"}},
        {"display.backbuffer", "Unable to create back buffer.", kVideoDown},
        {"display.lock", "", kVideoDown},
        {"display.flip", "", kVideoDown},
        {"input.create", "Unable to create Initialize Direct Input.", kVideoDown},
        {"input.keyboard.format", "Unable to create Initialize Direct Input.",
         Concat({{"input.keyboard.unacquire", "input.keyboard.release", "input.release"},
                 kVideoDown})},
        {"input.mouse.acquire", "Unable to create Initialize Direct Input.",
         Concat({kInputDown, kVideoDown})},
        {"sound.create", "Unable to create Direct Sound Object.", Concat({kInputDown, kVideoDown})},
        {"sound.cooperate", "Unable to set cooperative level.",
         Concat({{"sound.release"}, kInputDown, kVideoDown})},
        {"alloc.board", "",
         Concat({kBlocksDown, {"sound.release slot=0", "sound.release"}, kInputDown, kVideoDown})},
        {"display.offscreen", "",
         Concat({{"sound.release slot=0", "sound.release"}, kInputDown, kVideoDown})},
    };
    for (const FailureCase& c : cases) {
        const auto result = Replay(std::string("fail ") + c.step + "\nend 9000\n");
        EXPECT_EQ(result.outcome.exitCode, 1) << c.step;
        EXPECT_TRUE(result.frames.empty()) << c.step << ": no frame after a failed start-up";
        const std::vector<std::string> messages =
            *c.message == '\0' ? std::vector<std::string>{} : std::vector<std::string>{c.message};
        EXPECT_EQ(result.messageBoxes, messages) << c.step;
        EXPECT_EQ(Releases(), c.released) << c.step;
        EXPECT_TRUE(fake::CursorVisible()) << c.step;
    }
}

// Whether what the program writes to its standard error can be captured here
// (the web build's tests under Node write it straight to Node's own).
bool StandardErrorCaptured() {
    ::testing::internal::CaptureStderr();
    std::fputs("probe\n", stderr);
    std::fflush(stderr);
    return ::testing::internal::GetCapturedStderr() == "probe\n";
}

TEST(StartUp, MissingPictureEndsItSilentlyAndNamesTheFile) {
    const bool captured = StandardErrorCaptured();
    struct Missing {
        const char* file;
        std::vector<std::string> released;
    };
    const std::vector<Missing> cases = {
        {"Art/Loading.kvp", kVideoDown},
        {"Art/Main.kvp", kVideoDown},
        {"Art/Block3.kvp", Concat({std::vector<std::string>(3, "surface.release offscreen 24x24"),
                                   {"sound.release slot=0", "sound.release"},
                                   kInputDown,
                                   kVideoDown})},
        {"Art/FileMenu.kvp", {}},
    };
    for (const Missing& m : cases) {
        const std::string folder = testing::MakeTempFolder("korvane-missing");
        testing::WriteTestAssets(folder);
        std::filesystem::remove(std::filesystem::path(folder) / m.file);
        replay::Options options;
        options.dataDir = folder;
        ::testing::internal::CaptureStderr();
        const auto result = Replay("end 9000\n", options);
        const std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(result.outcome.exitCode, 1) << m.file;
        EXPECT_TRUE(result.messageBoxes.empty()) << m.file;
        EXPECT_NE(StartUpFailure().find(m.file), std::string::npos) << m.file;
        if (captured) {
            EXPECT_NE(errors.find(m.file), std::string::npos) << m.file << ": " << errors;
            EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        }
        if (!m.released.empty()) {
            EXPECT_EQ(Releases(), m.released) << m.file;
        }
        std::filesystem::remove_all(folder);
    }
}

TEST(StartUp, MissingSoundsLeaveTheirSlotsEmptyAndTheGameGoesOn) {
    const std::string folder = testing::MakeTempFolder("korvane-nosound");
    testing::WriteTestAssets(folder);
    std::filesystem::remove(std::filesystem::path(folder) / "Sound/Drop.wav");
    std::filesystem::remove(std::filesystem::path(folder) / "Sound/Background.wav");
    replay::Options options;
    options.dataDir = folder;
    const auto result = Replay("at 9000 down N\nat 9100 up N\nend 12000\n", options);
    EXPECT_EQ(result.outcome.exitCode, 0);
    EXPECT_EQ(result.messageBoxes,
              (std::vector<std::string>{"Unable to open .WAV file.", "Unable to open .WAV file."}));
    EXPECT_EQ(DropSound, -1);
    EXPECT_EQ(menuMusic, -1);
    EXPECT_EQ(RotateSound, 2) << "the next load takes the lowest free slot";
    EXPECT_LT(result.FirstFrame("Playing"), result.frames.size());
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace korvane
