// One frame of each animated distortion at 1920 x 1080 beside a memcpy of
// the same frame (the yardstick for table-driven frames), and the time to
// build each map. One thread; the effects' own sleeps are not part of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "plugins/qlo12/kernels/tunnel_map.h"
#include "plugins/qlo12/kernels/worm_map.h"

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int64_t kStride = (int64_t(kW) * 24 + 31) / 32 * 4;

std::vector<uint8_t> Picture() {
  std::vector<uint8_t> p(size_t(kStride * kH));
  uint32_t v = 12345;
  for (uint8_t& b : p) b = uint8_t((v = v * 1103515245u + 12345u) >> 24);
  return p;
}

void SetPixels(benchmark::State& state) {
  state.counters["Mpx/s"] = benchmark::Counter(double(state.iterations()) * kW * kH / 1e6,
                                               benchmark::Counter::kIsRate);
}

void BM_MemcpyFrame(benchmark::State& state) {
  const std::vector<uint8_t> in = Picture();
  std::vector<uint8_t> out(in.size());
  for (auto _ : state) {
    std::memcpy(out.data(), in.data(), in.size());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

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

void BM_WormFrame(benchmark::State& state) {
  constexpr int w = 640, h = 480;
  constexpr int64_t stride = int64_t(w) * 3;
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

}  // namespace

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TunnelMap)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TunnelFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WormGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WormMap)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WormFrame)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
