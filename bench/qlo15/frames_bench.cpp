// One frame of Snow, Rain, Cloud, FireWork, Aquarium, Quake and Light at
// 1920 x 1080 beside a memcpy of the same frame, on one thread, without the
// effects' pauses between frames. Each is measured at its heaviest
// settings as well as its defaults: all 5000 flakes, 2500 drops, 100
// rockets of 50 sparks, Aquarium's strongest wave, Light's largest spot.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo15/kernels/aquarium.h"
#include "plugins/qlo15/kernels/cloud.h"
#include "plugins/qlo15/kernels/firework.h"
#include "plugins/qlo15/kernels/light.h"
#include "plugins/qlo15/kernels/quake.h"
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

// Aquarium at its strongest wave (amplitude 120) and shortest wavelength,
// centre in the middle and in a corner; the map is built once.
void BM_AquariumFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  auto aquarium = std::make_unique<AquariumState>();
  StartAquarium(*aquarium, kW, kH);
  SetAquariumWave(*aquarium, double(state.range(0)), int(state.range(1)), kAquariumMaxSpeed);
  if (state.range(2)) SetAquariumCentre(*aquarium, 0, 0);
  AquariumFrame(*aquarium, source.data(), out.data(), kStride);
  for (auto _ : state) {
    AquariumFrame(*aquarium, source.data(), out.data(), kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

// The distance map built anew, as after a slider change or a new centre.
void BM_AquariumBuildMap(benchmark::State& state) {
  auto aquarium = std::make_unique<AquariumState>();
  StartAquarium(*aquarium, kW, kH);
  for (auto _ : state) {
    BuildAquariumMap(*aquarium);
    benchmark::DoNotOptimize(aquarium->distance.data());
  }
}

// Quake draws over the frame it drew before; measured while the blocks
// still fall through the picture (the first 60 frames).
void BM_QuakeFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> image(source);
  auto quake = std::make_unique<QuakeState>();
  RuntimeRandom random(1);
  int frames = 0;
  for (auto _ : state) {
    if (frames++ % 60 == 0) {
      state.PauseTiming();
      StartQuake(*quake, kW, kH);
      CaptureQuakeBlocks(*quake, source.data(), kStride);
      state.ResumeTiming();
    }
    QuakeFrame(*quake, image.data(), kStride, random);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_LightFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  auto light = std::make_unique<LightState>();
  SetLight(*light, int(state.range(0)), int(state.range(0)), kLightMaxIntensity, true);
  LightFrame(*light, source.data(), out.data(), kW, kH, kStride);
  for (auto _ : state) {
    LightFrame(*light, source.data(), out.data(), kW, kH, kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnowFrame)->Arg(kSnowDefaultFlakes)->Arg(kSnowMaxFlakes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RainFrame)->Arg(kRainDefaultDrops)->Arg(kRainMaxDrops)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloudFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloudGrowMaps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FireworkFrame)->Args({kFireworkDefaultRockets, kFireworkDefaultSparks})
    ->Args({kFireworkMaxRockets, kFireworkMaxSparks})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AquariumFrame)->Args({kAquariumDefaultWavelength, kAquariumDefaultAmplitude, 0})
    ->Args({kAquariumMinWavelength, kAquariumMaxAmplitude, 0})
    ->Args({kAquariumMinWavelength, kAquariumMaxAmplitude, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AquariumBuildMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuakeFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LightFrame)->Arg(kLightDefaultSize)->Arg(kLightMaxSize)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
