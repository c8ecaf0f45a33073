// The picture puzzles at 1920 x 1080 on one thread: drawing the board after
// a move (every click redraws the whole picture), cutting the pieces and
// the shuffles of a new game, at the largest boards of both puzzles. The
// memcpy of one frame they compare with is in frames_bench.cpp.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo15/kernels/puzzle.h"

namespace {

using namespace quillo;
using namespace quillo::qlo15;

using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

// Argument: pieces per side (10 and 20 divide both sides); 1: the sliding
// puzzle's board (cleared to black first).
void BM_PuzzleDrawBoard(benchmark::State& state) {
  const int n = int(state.range(0));
  const bool sliding = state.range(1) != 0;
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> tiles;
  CutTiles(source.data(), kW, kH, kStride, n, tiles);
  RuntimeRandom random(1);
  PuzzleBoard board;
  if (sliding)
    ShuffleSliding(board, n, random);
  else
    ShuffleSwap(board, n, random);
  std::vector<uint8_t> out(source.size());
  for (auto _ : state) {
    DrawBoard(board, tiles, kW / n, kH / n, sliding, out.data(), kW, kH, kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_PuzzleCutTiles(benchmark::State& state) {
  const int n = int(state.range(0));
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> tiles;
  for (auto _ : state) {
    CutTiles(source.data(), kW, kH, kStride, n, tiles);
    benchmark::DoNotOptimize(tiles.data());
  }
  SetPixels(state);
}

void BM_PuzzleShuffle(benchmark::State& state) {
  const int n = int(state.range(0));
  const bool sliding = state.range(1) != 0;
  RuntimeRandom random(1);
  PuzzleBoard board;
  for (auto _ : state) {
    if (sliding)
      ShuffleSliding(board, n, random);
    else
      ShuffleSwap(board, n, random);
    benchmark::DoNotOptimize(board.cells.data());
  }
}

BENCHMARK(BM_PuzzleDrawBoard)->Args({kSlidingMaxSide, 1})->Args({kSwapMaxSide, 0})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PuzzleCutTiles)->Arg(kSlidingMaxSide)->Arg(kSwapMaxSide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PuzzleShuffle)->Args({kSlidingMaxSide, 1})->Args({kSwapMaxSide, 0})->Unit(benchmark::kMicrosecond);

}  // namespace
