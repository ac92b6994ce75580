// Cost of the rules: gravity steps, moves, turns and row removal.
#include <benchmark/benchmark.h>

#include <cstring>

#include "game/board.h"
#include "game/movement.h"
#include "game/scoring.h"
#include "platform/fake/fake_platform.h"
#include "timing/clock.h"

namespace korvane {
namespace {

void StartGame() {
    fake::Reset();
    InitClock();
    if (BoardCells() == nullptr) {
        AllocateBoard();
    }
    ClearBoard();
    ResetCounters();
    SpawnPiece();
}

void BM_GravityStepThroughTheWell(benchmark::State& state) {
    StartGame();
    for (auto _ : state) {
        currentPiece = PieceState{1, 0, 5, 24, 0};
        while (GravityStep() == 1) {
        }
        ClearBoard();
    }
    state.SetItemsProcessed(state.iterations() * 24);
}
BENCHMARK(BM_GravityStepThroughTheWell);

void BM_MoveAcrossTheWell(benchmark::State& state) {
    StartGame();
    currentPiece = PieceState{2, 0, 5, 10, 0};
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i) {
            MovePiece(MoveLeft);
        }
        for (int i = 0; i < 10; ++i) {
            MovePiece(MoveRight);
        }
    }
    state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_MoveAcrossTheWell);

void BM_RotateInPlace(benchmark::State& state) {
    StartGame();
    currentPiece = PieceState{3, 0, 5, 10, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(RotatePiece());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RotateInPlace);

void BM_RemoveFullRowsOfAFullWell(benchmark::State& state) {
    StartGame();
    for (auto _ : state) {
        state.PauseTiming();
        std::memset(BoardCells(), 1, kBoardColumns * kVisibleRows);
        state.ResumeTiming();
        while (RemoveFullRow() == 1) {
        }
    }
    state.SetItemsProcessed(state.iterations() * kVisibleRows);
}
BENCHMARK(BM_RemoveFullRowsOfAFullWell);

}  // namespace
}  // namespace korvane
