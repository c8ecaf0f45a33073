// What the animated effects' frame benchmarks share: a 1920 x 1080 frame of
// noise (bottom-up, 24-bit rows padded to four bytes), the frame rate
// counter, and the memcpy of one frame every table compares against.
#pragma once
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace quillo::bench {

constexpr int kW = 1920, kH = 1080;
constexpr int64_t kStride = (int64_t(kW) * 24 + 31) / 32 * 4;

inline std::vector<uint8_t> Picture() {
  std::vector<uint8_t> p(size_t(kStride * kH));
  uint32_t v = 12345;
  for (uint8_t& b : p) b = uint8_t((v = v * 1103515245u + 12345u) >> 24);
  return p;
}

// Megapixels of frames drawn per second.
inline void SetPixels(benchmark::State& state) {
  state.counters["Mpx/s"] = benchmark::Counter(double(state.iterations()) * kW * kH / 1e6,
                                               benchmark::Counter::kIsRate);
}

inline void BM_MemcpyFrame(benchmark::State& state) {
  const std::vector<uint8_t> in = Picture();
  std::vector<uint8_t> out(in.size());
  for (auto _ : state) {
    std::memcpy(out.data(), in.data(), in.size());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

}  // namespace quillo::bench
