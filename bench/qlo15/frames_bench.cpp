// One frame of Snow, Rain, Cloud and FireWork at 1920 x 1080 beside a
// memcpy of the same frame, on one thread, without the effects' pauses
// between frames. Each is measured at its heaviest settings as well as its
// defaults: all 5000 flakes, 2500 drops, 100 rockets of 50 sparks.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo15/kernels/cloud.h"
#include "plugins/qlo15/kernels/firework.h"
#include "plugins/qlo15/kernels/rain.h"
#include "plugins/qlo15/kernels/snow.h"

namespace {

using namespace quillo;
using namespace quillo::qlo15;

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

// Runs `frames` frames first (the particles fill their tables), then
// measures one frame at a time.
template <class State, class Step>
void MeasureFrames(benchmark::State& state, State& effect, Step step, int warmUp) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  RuntimeRandom random(1);
  for (int k = 0; k < warmUp; ++k) step(effect, source.data(), out.data(), kW, kH, kStride, random);
  for (auto _ : state) {
    step(effect, source.data(), out.data(), kW, kH, kStride, random);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_SnowFrame(benchmark::State& state) {
  auto snow = std::make_unique<SnowState>();
  SetSnowCounts(*snow, int(state.range(0)), kSnowDefaultGusts);
  MeasureFrames(state, *snow, SnowFrame, 1500);
}

void BM_RainFrame(benchmark::State& state) {
  auto rain = std::make_unique<RainState>();
  SetRainDrops(*rain, int(state.range(0)), false);
  StartRain(*rain);
  MeasureFrames(state, *rain, RainFrame, 200);
}

void BM_CloudFrame(benchmark::State& state) {
  auto cloud = std::make_unique<CloudState>();
  cloud->sky = state.range(0) != 0;
  MeasureFrames(state, *cloud, CloudFrame, 1);
}

// The maps grown anew, as after a slider change.
void BM_CloudGrowMaps(benchmark::State& state) {
  auto cloud = std::make_unique<CloudState>();
  RuntimeRandom random(1);
  for (auto _ : state) {
    for (int k = 0; k < 3; ++k) GrowCloudMap(cloud->maps[size_t(k)], 2, 4, random);
    benchmark::DoNotOptimize(cloud->maps[0].data());
  }
}

void BM_FireworkFrame(benchmark::State& state) {
  auto fire = std::make_unique<FireworkState>();
  SetFirework(*fire, int(state.range(0)), int(state.range(1)), FireworkDefaultHeight(kH));
  MeasureFrames(state, *fire, FireworkFrame, 600);
}

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnowFrame)->Arg(kSnowDefaultFlakes)->Arg(kSnowMaxFlakes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RainFrame)->Arg(kRainDefaultDrops)->Arg(kRainMaxDrops)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloudFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloudGrowMaps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FireworkFrame)->Args({kFireworkDefaultRockets, kFireworkDefaultSparks})
    ->Args({kFireworkMaxRockets, kFireworkMaxSparks})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
