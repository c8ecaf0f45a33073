// One frame of each animated distortion at 1920 x 1080 beside a memcpy of
// the same frame (the yardstick for table-driven frames), and the time to
// build each map. One thread; the effects' own sleeps are not part of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo12/kernels/flame.h"
#include "plugins/qlo12/kernels/illusion.h"
#include "plugins/qlo12/kernels/kale_map.h"
#include "plugins/qlo12/kernels/lens.h"
#include "plugins/qlo12/kernels/tunnel_map.h"
#include "plugins/qlo12/kernels/warp.h"
#include "plugins/qlo12/kernels/water_frame.h"
#include "plugins/qlo12/kernels/worm_map.h"

namespace {

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

void BM_TunnelMap(benchmark::State& state) {
  std::vector<quillo::animation::MapEntry> map(size_t(kW) * kH);
  for (auto _ : state) {
    quillo::qlo12::BuildTunnelMap(kW, kH, int(state.range(0)), map.data());
    benchmark::DoNotOptimize(map.data());
  }
}

void BM_TunnelFrame(benchmark::State& state) {
  const std::vector<uint8_t> texture = Picture();
  std::vector<uint8_t> out(texture.size());
  std::vector<quillo::animation::MapEntry> map(size_t(kW) * kH);
  quillo::qlo12::BuildTunnelMap(kW, kH, int(state.range(0)), map.data());
  int64_t offset = 0;
  for (auto _ : state) {
    offset += 7;
    quillo::animation::DrawMappedFrame(texture.data(), out.data(), kW, kH, kStride, map.data(),
                                       offset, offset * 3, quillo::animation::MapRows::kUpward);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_WormGrid(benchmark::State& state) {
  std::vector<quillo::qlo12::WormCell> grid(size_t(quillo::qlo12::kWormGridWidth) *
                                            quillo::qlo12::kWormGridHeight);
  for (auto _ : state) {
    quillo::qlo12::BuildWormGrid(grid.data());
    benchmark::DoNotOptimize(grid.data());
  }
}

// The worm always plays at 640 x 480; its frame is timed there and its map
// also at 1920 x 1080 for comparison with the other maps.
void BM_WormMap(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  std::vector<quillo::qlo12::WormCell> grid(size_t(quillo::qlo12::kWormGridWidth) *
                                            quillo::qlo12::kWormGridHeight);
  quillo::qlo12::BuildWormGrid(grid.data());
  std::vector<quillo::animation::MapEntry> map(size_t(w) * size_t(h));
  for (auto _ : state) {
    quillo::qlo12::BuildWormMap(grid.data(), w, h, map.data());
    benchmark::DoNotOptimize(map.data());
  }
}

// The worm plays at 640 x 480; at 1920 x 1080 its frame compares with the
// memcpy like the other table-driven frames.
void BM_WormFrame(benchmark::State& state) {
  const int w = int(state.range(0)), h = int(state.range(1));
  const int64_t stride = (int64_t(w) * 24 + 31) / 32 * 4;
  std::vector<uint8_t> texture(size_t(stride * h), 90), out(texture.size());
  std::vector<quillo::qlo12::WormCell> grid(size_t(quillo::qlo12::kWormGridWidth) *
                                            quillo::qlo12::kWormGridHeight);
  quillo::qlo12::BuildWormGrid(grid.data());
  std::vector<quillo::animation::MapEntry> map(size_t(w) * h);
  quillo::qlo12::BuildWormMap(grid.data(), w, h, map.data());
  int64_t offset = 0;
  for (auto _ : state) {
    offset += 5;
    quillo::animation::DrawMappedFrame(texture.data(), out.data(), w, h, stride, map.data(), offset,
                                       offset * 2, quillo::animation::MapRows::kDownward);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}

void BM_KaleMap(benchmark::State& state) {
  std::vector<quillo::qlo12::KaleEntry> map(size_t(kW) * kH);
  const auto p = quillo::qlo12::DefaultKaleParameters(kW, kH);
  for (auto _ : state) {
    quillo::qlo12::BuildKaleMap(kW, kH, p, map.data());
    benchmark::DoNotOptimize(map.data());
  }
}

void BM_KaleFrame(benchmark::State& state) {
  const std::vector<uint8_t> texture = Picture();
  std::vector<uint8_t> out(texture.size());
  std::vector<quillo::qlo12::KaleEntry> map(size_t(kW) * kH);
  quillo::qlo12::BuildKaleMap(kW, kH, quillo::qlo12::DefaultKaleParameters(kW, kH), map.data());
  int64_t offset = 0;
  for (auto _ : state) {
    offset += 7;
    quillo::qlo12::DrawKaleFrame(texture.data(), out.data(), kW, kH, kStride, map.data(), offset,
                                 offset * 3);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_IllusionMap(benchmark::State& state) {
  std::vector<quillo::qlo12::IllusionEntry> map(size_t(kW) * kH);
  for (auto _ : state) {
    quillo::qlo12::BuildIllusionMap(kW, kH, quillo::qlo12::kIllusionDefaultSectors, map.data());
    benchmark::DoNotOptimize(map.data());
  }
}

void BM_IllusionFrame(benchmark::State& state) {
  const std::vector<uint8_t> texture = Picture();
  std::vector<uint8_t> out(texture.size());
  std::vector<quillo::qlo12::IllusionEntry> map(size_t(kW) * kH);
  quillo::qlo12::BuildIllusionMap(kW, kH, quillo::qlo12::kIllusionDefaultSectors, map.data());
  int64_t offset = 0;
  for (auto _ : state) {
    offset += 7;
    quillo::qlo12::DrawIllusionFrame(texture.data(), out.data(), kW, kH, kStride, map.data(),
                                     offset, offset * 3);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_WarpFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> out(backup.size());
  std::vector<int32_t> rings(size_t(kW) * kH);
  quillo::qlo12::BuildWarpRings(kW, kH, rings.data());
  quillo::qlo12::WarpShifts shifts;
  int n = 0;
  for (auto _ : state) {
    quillo::qlo12::WarpFrameShifts(n++, shifts);
    quillo::qlo12::DrawWarpFrame(backup.data(), out.data(), kW, kH, kStride, rings.data(), shifts);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_FlameFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> out(backup.size());
  quillo::qlo12::FlameState flame;
  quillo::qlo12::ResetFlame(flame, kW, kH);
  const auto palette = quillo::qlo12::FirePalette(0, 0);
  quillo::RuntimeRandom random(1);
  for (int i = 0; i < 100; ++i) quillo::qlo12::StepFlame(flame, 150, random);  // a burning fire
  for (auto _ : state) {
    quillo::qlo12::StepFlame(flame, 150, random);
    quillo::qlo12::DrawFlame(flame, palette, backup.data(), out.data(), kStride);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

// The lens redraws only its box: the largest radius on a 1920 x 1080 picture.
void BM_LensFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> image = backup;
  quillo::qlo12::LensOptions options;
  options.radius = quillo::qlo12::LensRadii(kW, kH).high;
  options.step = 7;
  options.ball = state.range(0) != 0;
  const auto map = quillo::qlo12::BuildLensMap(options);
  quillo::RuntimeRandom random(1);
  quillo::qlo12::LensMotion motion = quillo::qlo12::PlaceLens(options, kW, kH, random);
  for (auto _ : state) {
    quillo::qlo12::StepLens(options, map, motion, backup.data(), image.data(), kW, kH, kStride);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
}

// Water with its default flags (flat surfer and rain) and with everything
// on in smooth drops; Blob with its default sliders. Both fields are
// full-size, so each frame renders and propagates every pixel.
void BM_WaterFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> image = backup;
  quillo::RuntimeRandom random(1);
  quillo::qlo12::WaterState water;
  quillo::qlo12::StartWater(water, kW, kH, random);
  water.flags = int(state.range(0));
  for (int i = 0; i < 50; ++i)  // rippling water
    quillo::qlo12::WaterFrame(water, backup.data(), image.data(), kStride, random);
  for (auto _ : state) {
    quillo::qlo12::WaterFrame(water, backup.data(), image.data(), kStride, random);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_BlobFrame(benchmark::State& state) {
  const std::vector<uint8_t> backup = Picture();
  std::vector<uint8_t> image = backup;
  quillo::RuntimeRandom random(1);
  quillo::qlo12::BlobState blob;
  quillo::qlo12::StartBlob(blob, kW, kH);
  for (int i = 0; i < 50; ++i)
    quillo::qlo12::BlobFrame(blob, backup.data(), image.data(), kStride, random);
  for (auto _ : state) {
    quillo::qlo12::BlobFrame(blob, backup.data(), image.data(), kStride, random);
    benchmark::DoNotOptimize(image.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

}  // namespace

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TunnelMap)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TunnelFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WormGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WormMap)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WormFrame)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KaleMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KaleFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IllusionMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IllusionFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarpFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlameFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LensFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaterFrame)->Arg(0x4003)->Arg(0x000F)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlobFrame)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
