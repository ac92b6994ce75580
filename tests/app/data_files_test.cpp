// The generated pictures and sounds go through the game's own loaders, and
// the program starts on them without a word of complaint.
#include <gtest/gtest.h>

#include <string>

#include "gfx/image.h"
#include "platform/fake/fake_platform.h"
#include "sound/sound.h"
#include "tests/app/app_fixture.h"

namespace korvane {
namespace {

TEST(DataFiles, EveryPictureLoadsAtItsSize) {
    fake::Reset();
    fake::SetFileRoot(KORVANE_DATA_DIR);
    struct Picture {
        std::string path;
        uint32_t width;
        uint32_t height;
    };
    std::vector<Picture> pictures = {{"Art\\Loading.kvp", 640, 480},
                                     {"Art\\Main.kvp", 640, 480},
                                     {"Art\\Menu.kvp", 640, 480},
                                     {"Art\\FileMenu.kvp", 640, 480}};
    for (int k = 1; k <= 8; ++k) {
        pictures.push_back({"Art\\Block" + std::to_string(k) + ".kvp", 24, 24});
    }
    for (const Picture& picture : pictures) {
        Image image;
        ASSERT_EQ(ImageLoad(&image, picture.path.c_str(), 16), 1) << picture.path;
        EXPECT_EQ(image.width, picture.width) << picture.path;
        EXPECT_EQ(image.height, picture.height) << picture.path;
        ImageFree(&image);
    }
}

TEST(DataFiles, EverySoundLoadsIntoItsSlot) {
    fake::Reset();
    fake::SetFileRoot(KORVANE_DATA_DIR);
    ASSERT_EQ(SoundInit(), 1);
    SoundId expected = 0;
    for (const char* path : {"Sound\\Music.wav", "Sound\\Background.wav", "Sound\\Thud.wav",
                             "Sound\\Drop.wav", "Sound\\Rotate.wav"}) {
        EXPECT_EQ(SoundLoadWav(path, 0), expected++) << path;
    }
    EXPECT_TRUE(fake::MessageBoxes().empty());
    SoundShutdown();
}

TEST(DataFiles, TheProgramStartsAndPlaysOnThem) {
    replay::Options options;
    options.dataDir = KORVANE_DATA_DIR;
    options.check = true;
    options.demo = true;
    const auto result = testing::Replay("at 8500 down N\nat 8600 up N\nend 30000\n", options);
    EXPECT_TRUE(result.messageBoxes.empty());
    EXPECT_EQ(result.outcome.violations, 0);
    EXPECT_LT(result.FirstFrame("Playing"), result.frames.size());
}

}  // namespace
}  // namespace korvane
