// One frame of Flamme and Flares at 1920 x 1080 and of Tex at its working
// size of 640 x 480, beside a memcpy of a 1920 x 1080 frame, on one
// thread, without the effects' pauses between frames. Flares is measured
// at its default 20 emitters and at all 100; Tex with the whole box and
// with its front face alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo16/kernels/flamme.h"
#include "plugins/qlo16/kernels/flares.h"
#include "plugins/qlo16/kernels/tex_box.h"

namespace {

using namespace quillo;
using namespace quillo::qlo16;

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

// After 300 frames the flames reach far up the picture.
void BM_FlammeFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  FlammeState flamme;
  ResetFlamme(flamme, kW, kH);
  const FirePalette256 palette = FlammePalette();
  RuntimeRandom random(1);
  for (int k = 0; k < 300; ++k) StepFlamme(flamme, random);
  for (auto _ : state) {
    StepFlamme(flamme, random);
    DrawFlamme(flamme, palette, source.data(), out.data(), kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_FlaresFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  FlaresState flares;
  ResetFlares(flares, kW, kH);
  SetFlaresEmitters(flares, int(state.range(0)));
  const FirePalette256 palette = FlaresPalette(0, 0, 0);
  RuntimeRandom random(1);
  for (auto _ : state) {
    FlaresFrame(flares, palette, source.data(), out.data(), kStride, random);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

// Frames through a whole turn of the box, near and far.
void BM_TexFrame(benchmark::State& state) {
  constexpr int64_t stride = (int64_t(kTexWidth) * 24 + 31) / 32 * 4;
  std::vector<uint8_t> source(size_t(stride) * kTexHeight);
  uint32_t v = 7;
  for (uint8_t& b : source) b = uint8_t((v = v * 1103515245u + 12345u) >> 24);
  std::vector<uint8_t> out(source.size());
  TexCanvas canvas;
  PrepareTexCanvas(canvas, kTexWidth, kTexHeight, stride);
  const auto faces = TexFaces(kTexWidth, kTexHeight);
  int t = 0;
  for (auto _ : state) {
    TexFrame(canvas, faces, t, state.range(0) != 0, source.data(), out.data());
    t = (t + 7) % kTexFrameCycle;
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.counters["Mpx/s"] = benchmark::Counter(double(state.iterations()) * kTexWidth * kTexHeight / 1e6,
                                               benchmark::Counter::kIsRate);
}

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlammeFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlaresFrame)->Arg(kFlaresDefaultEmitters)->Arg(kFlaresMaxEmitters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TexFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
