// The drawing of one frame of play on the SDL display with a full well
// (background copy, 260 blocks, both pieces, the counters with their
// per-frame font, the flip and the present), and the loader's time for a
// full-screen picture. Needs a display: run under tests/support/run_on_xvfb.sh.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include "tests/support/kvp_bytes.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/scoring.h"
#include "gfx/playfield.h"
#include "gfx/video.h"

namespace korvane {
namespace {

// A picture of varied pixels, so the loader converts real data.
void WriteKvp(const std::filesystem::path& path, uint32_t width, uint32_t height) {
    testing::WriteBytes(path, testing::KvpBytes(width, height,
                                                [width](uint32_t x, uint32_t y, uint8_t* r,
                                                        uint8_t* g, uint8_t* b) {
                                                    const uint32_t p = 3 * (y * width + x);
                                                    *b = static_cast<uint8_t>(p * 37 + p / 1000);
                                                    *g = static_cast<uint8_t>((p + 1) * 37);
                                                    *r = static_cast<uint8_t>((p + 2) * 37);
                                                }));
}

// The pictures in a folder of their own, made the working directory.
class Stage {
  public:
    Stage() {
        folder_ = std::filesystem::temp_directory_path() / "korvane_bench_sdl_gfx";
        std::filesystem::create_directories(folder_ / "Art");
        WriteKvp(folder_ / "Art" / "Main.kvp", 640, 480);
        for (int k = 1; k <= 8; ++k) {
            WriteKvp(folder_ / "Art" / ("Block" + std::to_string(k) + ".kvp"), 24, 24);
        }
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    ~Stage() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

  private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

void BM_PlayFrameFullWell(benchmark::State& state) {
    const Stage stage;
    if (VideoInit(640, 480, 16) == 0) {
        VideoShutdown();
        state.SkipWithError("no display: run under tests/support/run_on_xvfb.sh");
        return;
    }
    for (int k = 1; k <= kBlockPictures; ++k) {
        BlockSurfaces[k - 1] = VideoCreateOffscreen(24, 24, 0);
        Image block;
        ImageLoad(&block, ("Art\\Block" + std::to_string(k) + ".kvp").c_str(), 16);
        VideoCopyImage(BlockSurfaces[k - 1].get(), block, 24, 24, 16);
    }
    Image background;
    ImageLoad(&background, "Art\\Main.kvp", 16);
    AllocateBoard();
    ClearBoard();
    for (int row = 0; row < kVisibleRows; ++row) {
        for (int column = 0; column < kBoardColumns; ++column) {
            BoardCells()[row * kBoardColumns + column] =
                static_cast<uint8_t>(1 + (row * 3 + column) % 8);
        }
    }
    currentPiece = {2, 3, 5, 18, 0};
    nextPiece = {1, 6, 5, 24, 0};
    scoreCounters = {123456, 7, 18};
    for (auto _ : state) {
        VideoCopyImage(videoDevice.backBuffer, background, 640, 480, 16);
        DrawBoard();
        DrawPiece(0);
        DrawPiece(1);
        DrawHud();
        VideoFlip();
        SDL_PumpEvents();
    }
    FreeBoard();
    BlockImagesRelease();
    VideoShutdown();
}
BENCHMARK(BM_PlayFrameFullWell)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFullScreenPicture(benchmark::State& state) {
    const Stage stage;
    videoDevice.layout = PixelLayout::Rgb565;
    for (auto _ : state) {
        Image image;
        benchmark::DoNotOptimize(ImageLoad(&image, "Art\\Main.kvp", 16));
        benchmark::DoNotOptimize(image.pixels.get());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{640 * 480 * 3 + 14});
}
BENCHMARK(BM_LoadFullScreenPicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane
