// Play frames of the real program on the SDL backend: the frame period and
// its spread, resident memory and processor use. Needs a display (run it
// under Xvfb on a server) and the built data folder:
//   xvfb-run -s "-screen 0 640x480x24" build/bench/korvane_bench_sdl_app_frames
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "app/frame.h"
#include "app/screen_state.h"
#include "app/startup.h"
#include "game/board.h"
#include "game/scoring.h"

namespace korvane {
namespace {

long ResidentPeakKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_PlayFramePeriod(benchmark::State& state) {
    if (chdir(KORVANE_BINARY_DIR "/data") != 0 || StartUp() != 1) {
        state.SkipWithError("start-up failed (no display, or the data folder is missing)");
        return;
    }
    ResetCounters();
    ClearBoard();
    SpawnPiece();
    screenState = ScreenState::Playing;
    std::vector<double> periodsMs;
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        RunFrame();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        periodsMs.push_back(took.count() * 1000.0);
        if (screenState != ScreenState::Playing) {
            ClearBoard();
            SpawnPiece();
            screenState = ScreenState::Playing;
        }
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    std::sort(periodsMs.begin(), periodsMs.end());
    double sum = 0;
    double squares = 0;
    for (double p : periodsMs) {
        sum += p;
        squares += p * p;
    }
    const double mean = sum / static_cast<double>(periodsMs.size());
    state.counters["period_mean_ms"] = mean;
    state.counters["period_sd_ms"] =
        std::sqrt(squares / static_cast<double>(periodsMs.size()) - mean * mean);
    state.counters["period_min_ms"] = periodsMs.front();
    state.counters["period_max_ms"] = periodsMs.back();
    state.counters["cpu_share"] = (CpuSeconds() - cpuBefore) / wall.count();
    state.counters["rss_peak_MiB"] = static_cast<double>(ResidentPeakKiB()) / 1024.0;
    ShutDown();
}
BENCHMARK(BM_PlayFramePeriod)->UseManualTime()->Iterations(500)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvane
