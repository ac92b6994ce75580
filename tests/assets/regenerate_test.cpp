#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/assets/asset_readers.h"

namespace korvane::test {
namespace {

namespace fs = std::filesystem;

// Running the generators again must write the very same bytes.
TEST(Regenerate, SecondRunWritesIdenticalFiles) {
    const fs::path scratch = KORVANE_SCRATCH_DIR;
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    const std::string art = std::string("\"") + KORVANE_ARTGEN + "\" \"" + scratch.string() +
                            "\" \"" + (scratch / "generated").string() + "\"";
    const std::string sound = std::string("\"") + KORVANE_SOUNDGEN + "\" \"" + KORVANE_MUSIC_DIR +
                              "\" \"" + scratch.string() + "\"";
#ifdef _WIN32
    // cmd.exe takes the outermost pair of quotes off a command line.
    ASSERT_EQ(std::system(("\"" + art + "\"").c_str()), 0);
    ASSERT_EQ(std::system(("\"" + sound + "\"").c_str()), 0);
#else
    ASSERT_EQ(std::system(art.c_str()), 0);
    ASSERT_EQ(std::system(sound.c_str()), 0);
#endif

    const fs::path built = KORVANE_DATA_DIR;
    int compared = 0;
    for (const char* folder : {"Art", "Sound"}) {
        for (const auto& entry : fs::directory_iterator(built / folder)) {
            const fs::path again = scratch / folder / entry.path().filename();
            SCOPED_TRACE(again.string());
            ASSERT_TRUE(fs::exists(again));
            EXPECT_TRUE(ReadWholeFile(entry.path().string()) == ReadWholeFile(again.string()));
            ++compared;
        }
    }
    EXPECT_TRUE(ReadWholeFile((built / "korvane.png").string()) ==
                ReadWholeFile((scratch / "korvane.png").string()));
    EXPECT_EQ(compared, 12 + 5);
    fs::remove_all(scratch);
}

}  // namespace
}  // namespace korvane::test
