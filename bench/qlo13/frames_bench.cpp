// One frame of Pool, Wavy, Disco, the magic patterns and the colour
// gradient at 1920 x 1080 beside a memcpy of the same frame, and the set-up
// each makes when playing starts (a pattern's map is built again whenever
// its settings change). One thread; the effects' own pauses between frames
// are not part of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/animation/kernels/texture_map.h"
#include "plugins/qlo13/kernels/disco.h"
#include "plugins/qlo13/kernels/gradient_frame.h"
#include "plugins/qlo13/kernels/magic_map.h"
#include "plugins/qlo13/kernels/pool.h"
#include "plugins/qlo13/kernels/wavy.h"

namespace {

using namespace quillo::qlo13;

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

void BM_PoolStart(benchmark::State& state) {
  PoolState pool;
  for (auto _ : state) {
    StartPool(pool, kW, kH);
    benchmark::DoNotOptimize(pool.still.data());
  }
}

void BM_PoolFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> out(backup.size());
  PoolState pool;
  StartPool(pool, kW, kH);
  for (auto _ : state) {
    PoolFrame(pool, backup.data(), out.data(), kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

// The largest amplitudes: the two source pixels lie furthest apart.
void BM_WavyFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> out(backup.size());
  WavyState wavy;
  wavy.amplitude1 = wavy.amplitude2 = kWavyMaxAmplitude;
  StartWavy(wavy, kW, kH);
  for (auto _ : state) {
    WavyFrame(wavy, backup.data(), out.data(), kW, kH, kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_DiscoStart(benchmark::State& state) {
  DiscoState disco;
  for (auto _ : state) {
    StartDisco(disco, kW, kH);
    benchmark::DoNotOptimize(disco.turn.data());
  }
}

void BM_DiscoFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> out(backup.size());
  DiscoState disco;
  disco.speed = kDiscoMaxSpeed;
  StartDisco(disco, kW, kH);
  for (auto _ : state) {
    DiscoFrame(disco, backup.data(), out.data(), kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

// Building a pattern's map: the opening pattern and the most costly one.
void BM_MagicMap(benchmark::State& state) {
  std::vector<quillo::animation::MapEntry> map(size_t(kW) * kH);
  const MagicSettings s{int(state.range(0)), kMagicModeTable[state.range(0)].defaults[0],
                        kMagicModeTable[state.range(0)].defaults[1], kMagicModeTable[state.range(0)].defaults[2]};
  for (auto _ : state) {
    BuildMagicMap(s, kW, kH, map.data());
    benchmark::DoNotOptimize(map.data());
  }
}

// A frame of a pattern: the texture gathered through the map, drifting.
void BM_MagicFrame(benchmark::State& state) {
  const std::vector<uint8_t> texture = Picture();
  std::vector<uint8_t> out(texture.size());
  std::vector<quillo::animation::MapEntry> map(size_t(kW) * kH);
  BuildMagicMap(MagicSettings{}, kW, kH, map.data());
  int64_t offset = 0;
  for (auto _ : state) {
    offset += 7;
    quillo::animation::DrawMappedFrame(texture.data(), out.data(), kW, kH, kStride, map.data(), offset, offset / 2,
                                       quillo::animation::MapRows::kUpward);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

// The gradient at full strength (a plain palette lookup) and at 60 percent
// (blended with the picture), its hue turning and flowing.
void BM_GradientFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> out(backup.size()), level(size_t(kW) * kH);
  BuildBrightness(backup.data(), kW, kH, kStride, level.data());
  const GradientPalette palette = PaletteOf(BuiltInGradients()[0]);
  GradientRun run;
  run.strength = int(state.range(0));
  run.flowing = true;
  for (auto _ : state) {
    GradientFrame(run, palette, level.data(), backup.data(), out.data(), kW, kH, kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PoolStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PoolFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WavyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscoStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscoFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MagicMap)->Arg(2)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MagicFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradientFrame)->Arg(100)->Arg(60)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
