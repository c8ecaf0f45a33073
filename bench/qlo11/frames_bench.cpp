// One frame of Bump, Flash, Envmap, Star and FTrace at 1920 x 1080 beside a
// memcpy of the same frame, on one thread, without the effects' pauses.
// Bump is measured with its light in the middle (the whole 511 x 511 square
// lit) and off the picture; Envmap at its working size 640 x 480 too, with
// all 72 triangles; Star with 300 stars of fully bright sprites (every
// byte a maximum); FTrace's map is built once (its build is measured
// apart, as after a slider change).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo11/kernels/bump.h"
#include "plugins/qlo11/kernels/envmap.h"
#include "plugins/qlo11/kernels/flash.h"
#include "plugins/qlo11/kernels/ftrace.h"
#include "plugins/qlo11/kernels/star.h"

namespace {

using namespace quillo;
using namespace quillo::qlo11;

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

template <class Frame>
void Measure(benchmark::State& state, Frame frame) {
  for (auto _ : state) {
    frame();
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_BumpFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  BumpState bump;
  bump.lightX = state.range(0) ? kW / 2 : -1000;
  bump.lightY = kH / 2;
  Measure(state, [&] { DrawBump(bump, source.data(), out.data(), kW, kH, kStride); });
}

void BM_FlashFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  auto flash = std::make_unique<FlashState>();
  RuntimeRandom random(1);
  for (int k = 0; k < 200; ++k) FlashFrame(*flash, source.data(), out.data(), kW, kH, kStride, random);
  Measure(state, [&] { FlashFrame(*flash, source.data(), out.data(), kW, kH, kStride, random); });
}

void BM_EnvmapFrame(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const int64_t stride = (int64_t(w) * 24 + 31) / 32 * 4;
  const std::vector<uint8_t> texture(size_t(kEnvmapTextureStride) * kEnvmapTextureHeight, 0x80);
  std::vector<uint8_t> out(size_t(stride) * h);
  EnvmapState torus;
  StartEnvmap(torus);
  for (int k = 0; k < kEnvmapTriangles; ++k) EnvmapFrame(torus, texture.data(), out.data(), w, h, stride);
  for (auto _ : state) {
    EnvmapFrame(torus, texture.data(), out.data(), w, h, stride);
    benchmark::ClobberMemory();
  }
  state.counters["Mpx/s"] =
      benchmark::Counter(double(state.iterations()) * w * h / 1e6, benchmark::Counter::kIsRate);
}

void BM_StarFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  std::array<std::vector<uint8_t>, kStarSpriteKinds> stored;
  for (int k = 0; k < kStarSpriteKinds; ++k)
    stored[size_t(k)].assign(size_t(kStarSpriteSizes[k]) * kStarSpriteSizes[k] * 3, 0xFF);
  auto sprites = std::make_unique<StarSprites>();
  PrepareStarSprites(stored, *sprites);
  auto field = std::make_unique<StarState>();
  SetStarCount(*field, int(state.range(0)));
  RuntimeRandom random(1);
  StartStars(*field, kW, kH, random);
  for (int k = 0; k < 100; ++k)
    StarFrame(*field, *sprites, source.data(), out.data(), kW, kH, kStride, random);
  Measure(state, [&] { StarFrame(*field, *sprites, source.data(), out.data(), kW, kH, kStride, random); });
}

void BM_FTraceFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  std::vector<animation::MapEntry> map(size_t(kW) * kH);
  BuildFTraceMap(kW, kH, 1, 1, kFTraceDefaultSteps, map.data());
  int64_t offset = 0;
  Measure(state, [&] {
    offset += 7;
    DrawTracedFrame(source.data(), out.data(), kW, kH, kStride, map.data(), offset, offset);
  });
}

void BM_FTraceBuildMap(benchmark::State& state) {
  std::vector<animation::MapEntry> map(size_t(kW) * kH);
  for (auto _ : state) {
    BuildFTraceMap(kW, kH, 1, 1, int(state.range(0)), map.data());
    benchmark::DoNotOptimize(map.data());
  }
}

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BumpFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlashFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnvmapFrame)->Args({kW, kH})->Args({kEnvmapWidth, kEnvmapHeight})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarFrame)->Arg(kStarDefaultCount)->Arg(kStarMaxCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FTraceFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FTraceBuildMap)->Arg(kFTraceDefaultSteps)->Arg(kFTraceMaxSteps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
