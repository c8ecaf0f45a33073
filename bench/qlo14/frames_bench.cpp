// One frame of Gloop and Lake at 1920 x 1080 beside a memcpy of the same
// frame, on one thread, without the effects' 30 ms pauses between frames.
// Gloop is measured while the jelly moves everywhere (the wandering poke
// on, the grid laid anew every 20 frames), at the default cell size and the
// smallest.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo14/kernels/gloop.h"
#include "plugins/qlo14/kernels/lake.h"

namespace {

using namespace quillo;
using namespace quillo::qlo14;

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

// Every 20 frames the grid is laid anew, so the nodes never come to rest.
void BM_GloopFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out = source;
  GloopState gloop;
  StartGloop(gloop, kW, kH, int(state.range(0)));
  gloop.idleSeconds = kGloopIdleSeconds + 1;
  RuntimeRandom random(1);
  int frames = 0;
  for (auto _ : state) {
    if (++frames % 20 == 0) SetGloopCell(gloop, int(state.range(0)));
    GloopFrame(gloop, source.data(), out.data(), kStride, random);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_LakeFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  LakeState lake;
  for (auto _ : state) {
    LakeFrame(lake, source.data(), out.data(), kW, kH, kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GloopFrame)->Arg(kGloopDefaultCell)->Arg(kGloopMinCell)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LakeFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
