// One frame of Pool, Wavy and Disco at 1920 x 1080 beside a memcpy of the
// same frame, and the set-up each makes when playing starts. One thread;
// the effects' own pauses between frames are not part of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "plugins/qlo13/kernels/disco.h"
#include "plugins/qlo13/kernels/pool.h"
#include "plugins/qlo13/kernels/wavy.h"

namespace {

using namespace quillo::qlo13;

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

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PoolStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PoolFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WavyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscoStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiscoFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
