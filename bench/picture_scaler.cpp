// What laying the 640x480 picture on a screen costs in software, on the
// screens players have: the whole picture (a new screen, the window made
// larger), and the part a piece falling one row changes (a play frame).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/common/picture_scaler.h"

namespace korvane::platform {
namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;

struct Stage {
    std::vector<uint16_t> picture;
    std::vector<uint32_t> screen;
    PictureScaler scaler;
    ScreenPixels target;
    Stage(int32_t screenWidth, int32_t screenHeight)
        : picture(static_cast<size_t>(kWidth) * kHeight),
          screen(static_cast<size_t>(screenWidth) * screenHeight) {
        std::mt19937 random(1);
        for (uint16_t& pixel : picture) {
            pixel = static_cast<uint16_t>(random());
        }
        scaler.Prepare(kWidth, kHeight, screenWidth, screenHeight);
        target.pixels = reinterpret_cast<uint8_t*>(screen.data());
        target.pitch = screenWidth * 4;
    }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(picture.data()); }
};

void Draw(benchmark::State& state, const PixelBox& part) {
    Stage stage(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    for (auto _ : state) {
        const PixelBox drawn = stage.scaler.Draw(stage.Bytes(), kWidth * 2, part, stage.target);
        benchmark::DoNotOptimize(drawn);
        benchmark::ClobberMemory();
    }
    state.SetLabel(stage.scaler.Placement().smooth ? "sharp" : "whole-number");
}

void BM_WholePicture(benchmark::State& state) {
    Draw(state, {0, 0, kWidth, kHeight});
}

// A piece's box of three by four blocks, one row lower: 72 by 120 pixels.
void BM_PieceMovedDown(benchmark::State& state) {
    Draw(state, {323, 120, 395, 240});
}

void Screens(benchmark::internal::Benchmark* benchmark) {
    for (const auto& [width, height] :
         {std::pair{1280, 800}, {1366, 768}, {1920, 1080}, {2880, 1800}, {3840, 2160}}) {
        benchmark->Args({width, height});
    }
    benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_WholePicture)->Apply(Screens);
BENCHMARK(BM_PieceMovedDown)->Apply(Screens);

}  // namespace
}  // namespace korvane::platform
