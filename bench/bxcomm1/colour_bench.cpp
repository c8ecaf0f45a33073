// Speed of the colour adjustment kernels on a 4000 x 3000 24-bit picture,
// one thread, in megapixels per second. The picture is the binary PPM named
// by QUILLO_BENCH_PPM (any size), or else a deterministic photo-like
// picture: smooth gradients and blobs with a little noise.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/common/bench_picture.h"
#include "balance.h"
#include "brightness_contrast.h"
#include "gamma.h"
#include "modulate.h"

namespace quillo {
namespace {

using bench::BenchPicture;
using bench::FullPass;
using bench::Picture;

// One pass as the dialog runs it: tables prepared, then 16-row steps.
template <typename Kernel, typename Settings>
void RunPasses(benchmark::State& state, const Settings& settings) {
  Picture& pic = BenchPicture();
  const PixelPass pass = FullPass(pic);
  Kernel kernel;
  for (auto _ : state) {
    kernel.Prepare(settings);
    for (int row = 0; row < pic.height; row += 16) kernel.Run(pass, row, row + 16);
    benchmark::DoNotOptimize(pic.target.data());
    benchmark::ClobberMemory();
  }
  const double megapixels = double(pic.width) * pic.height / 1e6;
  state.counters["Mpx/s"] =
      benchmark::Counter(megapixels * double(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(pic.width) + "x" + std::to_string(pic.height));
}

void BM_Balance(benchmark::State& state) {
  BalanceSettings s;
  s.value[0] = 30, s.value[1] = -20, s.value[2] = 45;
  RunPasses<BalanceKernel>(state, s);
}
void BM_BalancePreserveLightness(benchmark::State& state) {
  BalanceSettings s;
  s.value[0] = 30, s.value[1] = -20, s.value[2] = 45;
  s.preserveLightness = true;
  RunPasses<BalanceKernel>(state, s);
}
// ImageMagick -brightness-contrast 10x20: 10 % of 255 and 20 % of 127.
void BM_BrightnessContrast(benchmark::State& state) {
  RunPasses<BrightnessContrastKernel>(state, BrightnessContrastSettings{26, 25, true, true, true});
}
// ImageMagick -modulate 110,90,105: lighter, less saturated, hue turned a little.
void BM_Modulate(benchmark::State& state) {
  RunPasses<ModulateKernel>(state, ModulateSettings{7, -26, 26});
}
// ImageMagick -gamma 1.4.
void BM_GammaMaster(benchmark::State& state) {
  GammaSettings s;
  s.master = 140;
  RunPasses<GammaKernel>(state, s);
}
void BM_GammaPerChannel(benchmark::State& state) {
  GammaSettings s;
  s.perChannel = true;
  s.red = 80, s.green = 120, s.blue = 140;
  RunPasses<GammaKernel>(state, s);
}

// Reference: copying the picture, the floor for any pass that reads and writes it.
void BM_CopyPicture(benchmark::State& state) {
  Picture& pic = BenchPicture();
  for (auto _ : state) {
    std::memcpy(pic.target.data(), pic.source.data(), pic.source.size());
    benchmark::DoNotOptimize(pic.target.data());
    benchmark::ClobberMemory();
  }
  state.counters["Mpx/s"] =
      benchmark::Counter(double(pic.width) * pic.height / 1e6 * double(state.iterations()),
                         benchmark::Counter::kIsRate);
}

BENCHMARK(BM_CopyPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Balance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BalancePreserveLightness)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrightnessContrast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Modulate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GammaMaster)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GammaPerChannel)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillo

BENCHMARK_MAIN();
