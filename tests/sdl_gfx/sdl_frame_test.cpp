// One frame of play composed on the SDL display, flipped, and read back from
// the X server: the blocks are where they belong and the digits are drawn
// inside their boxes. Run a second time with no fonts on the machine
// (KORVANE_TEST_NO_FONTS), when the game's own lettering writes the digits.
#include <SDL.h>
#include <gtest/gtest.h>

#include "tests/support/kvp_bytes.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/scoring.h"
#include "gfx/playfield.h"
#include "gfx/video.h"
#include "platform/sdl/sdl_text_font.h"

namespace korvane {
namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

// Block picture k's colour; far apart from each other and from the background.
constexpr std::array<Rgb, 8> kBlockColors = {{{255, 0, 0},
                                              {0, 255, 0},
                                              {0, 0, 255},
                                              {255, 255, 0},
                                              {255, 0, 255},
                                              {0, 255, 255},
                                              {255, 128, 0},
                                              {128, 0, 255}}};
constexpr Rgb kBackground = {40, 40, 80};

void WriteKvp(const std::filesystem::path& path, uint32_t width, uint32_t height, Rgb color) {
    testing::WriteBytes(
        path, testing::KvpBytes(width, height,
                                [color](uint32_t, uint32_t, uint8_t* r, uint8_t* g, uint8_t* b) {
                                    *r = static_cast<uint8_t>(color.red);
                                    *g = static_cast<uint8_t>(color.green);
                                    *b = static_cast<uint8_t>(color.blue);
                                }));
}

// The whole X screen as read by ImageMagick's import.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    Rgb At(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * width + x) * 3;
        return {rgb[at], rgb[at + 1], rgb[at + 2]};
    }
};

struct PipeCloser {
    void operator()(std::FILE* pipe) const { pclose(pipe); }
};

bool ReadScreen(Screenshot* shot) {
    std::unique_ptr<std::FILE, PipeCloser> pipe(
        popen("import -silent -window root -depth 8 ppm:- 2>/dev/null", "r"));
    if (!pipe) {
        return false;
    }
    int maxValue = 0;
    if (std::fscanf(pipe.get(), "P6 %d %d %d", &shot->width, &shot->height, &maxValue) != 3 ||
        maxValue != 255) {
        return false;
    }
    std::fgetc(pipe.get());
    shot->rgb.resize(static_cast<size_t>(shot->width) * shot->height * 3);
    return std::fread(shot->rgb.data(), 1, shot->rgb.size(), pipe.get()) == shot->rgb.size();
}

bool Near(Rgb a, Rgb b) {
    return std::abs(a.red - b.red) <= 12 && std::abs(a.green - b.green) <= 12 &&
           std::abs(a.blue - b.blue) <= 12;
}

class SdlFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no X display: run under xvfb-run (package xvfb)";
        }
        if (std::system("command -v import >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "ImageMagick's import is needed to read the screen back";
        }
        folder_ = std::filesystem::temp_directory_path() /
                  ("korvane_sdl_gfx_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_ / "Art");
        WriteKvp(folder_ / "Art" / "Main.kvp", 640, 480, kBackground);
        for (int k = 1; k <= 8; ++k) {
            WriteKvp(folder_ / "Art" / ("Block" + std::to_string(k) + ".kvp"), 24, 24,
                     kBlockColors[k - 1]);
        }
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        if (VideoInit(640, 480, 16) == 0) {
            VideoShutdown();
            GTEST_SKIP() << "the SDL display cannot be opened here";
        }
        ASSERT_EQ(AllocateBoard(), 1);
        ClearBoard();
    }
    void TearDown() override {
        if (!folder_.empty()) {
            FreeBoard();
            BlockImagesRelease();
            VideoShutdown();
            std::filesystem::current_path(previous_);
            std::filesystem::remove_all(folder_);
        }
    }
    // Fills the block surfaces the way BlockImagesLoad does, without its
    // half-second pauses.
    static void LoadBlocks() {
        for (int k = 1; k <= 8; ++k) {
            BlockSurfaces[k - 1] = VideoCreateOffscreen(24, 24, 0);
            Image image;
            const std::string name = "Art\\Block" + std::to_string(k) + ".kvp";
            ASSERT_EQ(ImageLoad(&image, name.c_str(), 16), 1);
            ASSERT_EQ(VideoCopyImage(BlockSurfaces[k - 1].get(), image, 24, 24, 16), 1);
        }
    }

    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

TEST_F(SdlFrameTest, ComposedFrameShowsBlocksAndCounters) {
    EXPECT_EQ(videoDevice.layout, PixelLayout::Rgb565);
    const bool noFonts = std::getenv("KORVANE_TEST_NO_FONTS") != nullptr;
    EXPECT_EQ(platform::sdl::FindFontFace("Impact") == nullptr, noFonts)
        << "a face was found only where fonts are installed";
    LoadBlocks();
    Image background;
    ASSERT_EQ(ImageLoad(&background, "Art\\Main.kvp", 16), 1);
    BoardCells()[0 * kBoardColumns + 0] = 1;    // bottom left
    BoardCells()[19 * kBoardColumns + 12] = 3;  // top right
    BoardCells()[5 * kBoardColumns + 6] = 6;
    currentPiece = {0, 3, 4, 12, 0};  // square of colour 3: cells (5..6, 11..10)
    nextPiece = {1, 7, 5, 24, 0};     // bar in the preview
    scoreCounters = {123456, 7, 18};

    ASSERT_EQ(VideoCopyImage(videoDevice.backBuffer, background, 640, 480, 16), 1);
    EXPECT_EQ(DrawBoard(), 1);
    DrawPiece(0);
    DrawPiece(1);
    DrawHud();
    ASSERT_EQ(VideoFlip(), 1);
    SDL_PumpEvents();

    Screenshot shot;
    ASSERT_TRUE(ReadScreen(&shot));
    // The picture is scaled by whole multiples and centred.
    const int scale = std::min(shot.width / 640, shot.height / 480);
    ASSERT_GE(scale, 1);
    const int offsetX = (shot.width - 640 * scale) / 2;
    const int offsetY = (shot.height - 480 * scale) / 2;
    auto game = [&](int x, int y) {
        return shot.At(offsetX + x * scale + scale / 2, offsetY + y * scale + scale / 2);
    };
    auto cellCentre = [&](int column, int row) {
        return game(251 + 24 * column + 12, 456 - 24 * row + 12);
    };
    EXPECT_TRUE(Near(cellCentre(0, 0), kBlockColors[0]));
    EXPECT_TRUE(Near(cellCentre(12, 19), kBlockColors[2]));
    EXPECT_TRUE(Near(cellCentre(6, 5), kBlockColors[5]));
    EXPECT_TRUE(Near(cellCentre(5, 11), kBlockColors[3]));
    EXPECT_TRUE(Near(cellCentre(6, 10), kBlockColors[3]));
    EXPECT_TRUE(Near(cellCentre(1, 0), kBackground));
    EXPECT_TRUE(Near(cellCentre(7, 10), kBackground));
    for (int y : {353, 377, 401, 425}) {
        EXPECT_TRUE(Near(game(113 + 12, y + 12), kBlockColors[7])) << "preview at y " << y;
    }
    // Exact corners of a block: nothing is smoothed.
    EXPECT_TRUE(Near(game(251, 456), kBlockColors[0]));
    EXPECT_TRUE(Near(game(274, 479), kBlockColors[0]));
    EXPECT_TRUE(Near(game(275, 479), kBackground));
    if (offsetY > 0) {
        const Rgb bar = shot.At(shot.width / 2, offsetY / 2);
        EXPECT_EQ(bar.red + bar.green + bar.blue, 0) << "black above the picture";
    }

    struct Counter {
        platform::Rect box;
        Rgb ink;
    };
    const Counter counters[] = {{{54, 161, 197, 193}, {255, 255, 255}},
                                {{102, 67, 151, 99}, {255, 255, 0}},
                                {{90, 256, 162, 288}, {255, 255, 0}}};
    // "123456": each sixth of the inked width of the score holds ink, so six
    // digits are written and not one blot.
    auto inkedAt = [&](int x) {
        int inked = 0;
        for (int y = 161; y < 193; ++y) {
            inked += Near(game(x, y), kBackground) ? 0 : 1;
        }
        return inked;
    };
    int inkLeft = 197;
    int inkRight = 54;
    for (int x = 54; x < 197; ++x) {
        if (inkedAt(x) > 0) {
            inkLeft = std::min(inkLeft, x);
            inkRight = x + 1;
        }
    }
    EXPECT_GT(inkRight - inkLeft, 60) << "the score is six digits wide";
    for (int digit = 0; digit < 6; ++digit) {
        int inked = 0;
        for (int x = inkLeft + (inkRight - inkLeft) * digit / 6;
             x < inkLeft + (inkRight - inkLeft) * (digit + 1) / 6; ++x) {
            inked += inkedAt(x);
        }
        EXPECT_GT(inked, 10) << "digit " << digit + 1 << " of the score";
    }
    for (const Counter& counter : counters) {
        int inked = 0;
        int stray = 0;
        for (int y = counter.box.top - 8; y < counter.box.bottom + 8; ++y) {
            for (int x = counter.box.left - 8; x < counter.box.right + 8; ++x) {
                const bool inside = x >= counter.box.left && x < counter.box.right &&
                                    y >= counter.box.top && y < counter.box.bottom;
                const bool drawn = !Near(game(x, y), kBackground);
                inked += (inside && Near(game(x, y), counter.ink)) ? 1 : 0;
                stray += (!inside && drawn) ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 40) << "digits in the box at " << counter.box.left;
        EXPECT_EQ(stray, 0) << "ink outside the box at " << counter.box.left;
    }
}

}  // namespace
}  // namespace korvane
