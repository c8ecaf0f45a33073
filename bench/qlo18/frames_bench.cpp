// One frame of Rock and of the feedback at 1920 x 1080 beside a memcpy of
// the same frame, on one thread, without the effects' pauses. Rock is
// measured with the default 200 slots and with all 1000 at the slowest
// speed (the most rocks alive, the nearest ones largest); the feedback
// once per warp field, with lines of every mode, and the building of the
// seven fields a run starts with.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/common/frame_bench.h"
#include "plugins/qlo18/kernels/feedback.h"
#include "plugins/qlo18/kernels/rock.h"

namespace {

using namespace quillo;
using namespace quillo::qlo18;

using quillo::bench::BM_MemcpyFrame;
using quillo::bench::kH;
using quillo::bench::kStride;
using quillo::bench::kW;
using quillo::bench::Picture;
using quillo::bench::SetPixels;

void BM_RockFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  auto rocks = std::make_unique<RockState>();
  SetRockSettings(*rocks, int(state.range(0)), int(state.range(1)));
  RockField field;
  StartRocks(field, kW, kH);
  RuntimeRandom random(1);
  // Long enough for the slots to fill and the first rocks to come near.
  for (int k = 0; k < 400; ++k) RockFrame(*rocks, field, source.data(), out.data(), kW, kH, kStride, random);
  for (auto _ : state) {
    RockFrame(*rocks, field, source.data(), out.data(), kW, kH, kStride, random);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

FeedbackState& Feedback() {
  static FeedbackState* state = [] {
    auto* s = new FeedbackState;
    RuntimeRandom random(1);
    StartFeedback(*s, kW, kH, random);
    return s;
  }();
  return *state;
}

// Frames with the field held: the preset is put back before each frame.
void BM_FeedbackFrame(benchmark::State& state) {
  const std::vector<uint8_t> source = Picture();
  std::vector<uint8_t> out(source.size());
  FeedbackState& s = Feedback();
  RuntimeRandom random(1);
  const FeedbackPreset preset{int(state.range(0)), 0, 200, 40, 0, 200, int(state.range(1)), 40};
  for (auto _ : state) {
    s.preset = preset;
    s.frame = 1;  // neither a new preset nor a walk step
    FeedbackFrame(s, source.data(), out.data(), kW, kH, kStride, random);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetPixels(state);
}

void BM_BuildWarpFields(benchmark::State& state) {
  std::vector<WarpEntry> table;
  for (auto _ : state) {
    BuildWarpFields(table, kW, kH);
    benchmark::DoNotOptimize(table.data());
  }
}

}  // namespace

BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RockFrame)->Args({kRockDefaultCount, kRockDefaultSpeed})->Args({kRockMaxCount, kRockMinSpeed})
    ->Args({kRockMaxCount, 30})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FeedbackFrame)->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {2}})->Args({4, 4})->Args({4, 7})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildWarpFields)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
