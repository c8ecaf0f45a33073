// One frame of each animated distortion at 1920 x 1080 beside a memcpy of
// the same frame (the yardstick for table-driven frames), and the time to
// build each map. One thread; the effects' own sleeps are not part of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "plugins/qlo12/kernels/tunnel_map.h"

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

}  // namespace

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TunnelMap)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TunnelFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
