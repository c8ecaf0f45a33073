// One frame of Star and Storm at 1920 x 1080, beside a memcpy of a frame,
// on one thread, without the effects' pauses between frames. Star is
// measured at its default 50 stars and at all 1000; Storm at its default
// 40 sprites and at all 256, with the cursor off the screen's centre so
// the cloud tumbles, over sprites lit across a disc as the stored ones are.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo17/kernels/storm.h"
#include "plugins/qlo17/kernels/twinkle.h"

namespace {

using namespace quillo;
using namespace quillo::qlo17;

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

StormSprites GlowSprites() {
  StormSprites sprites;
  const int side = kStormSpriteSide;
  for (int k = 0; k < kStormSpriteKinds; ++k) {
    std::vector<uint8_t> px(size_t(side) * side * 3);
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const double u = (x - 99.5) / 100, v = (y - 99.5) / 100, r = std::sqrt(u * u + v * v);
        const double light = r < 0.98 ? std::exp(-r * r / (0.1 + 0.05 * k)) * (0.98 - r) / 0.98 : 0;
        for (int c = 0; c < 3; ++c) px[(size_t(y) * side + x) * 3 + c] = uint8_t(255 * light * (0.6 + 0.13 * c));
      }
    sprites[size_t(k)] = MakeStormSprite(side, side, std::move(px));
  }
  return sprites;
}

void BM_StarFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  auto stars = std::make_unique<TwinkleState>();
  SetTwinkleCount(*stars, int(state.range(0)));
  RuntimeRandom random(1);
  StartTwinkle(*stars, random);
  for (auto _ : state) {
    TwinkleFrame(*stars, source.data(), out.data(), kW, kH, kStride, random);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_StormFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  const StormSprites sprites = GlowSprites();
  auto storm = std::make_unique<StormState>();
  AllocateStormGlow(*storm, kW, kH);
  SetStormCount(*storm, int(state.range(0)));
  RuntimeRandom random(1);
  StartStorm(*storm, out.data(), kStride, random);
  const StormCursor cursor{1920, 1080, 700, 400};
  for (auto _ : state) {
    StormFrame(*storm, sprites, source.data(), out.data(), kStride, cursor, random);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

}  // namespace

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarFrame)->Arg(kTwinkleDefaultCount)->Arg(kTwinkleMaxCount)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StormFrame)->Arg(kStormDefaultCount)->Arg(kStormMaxCount)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
