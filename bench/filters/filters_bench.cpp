// Speed of the filter and geometry kernels on a 4000 x 3000 24-bit picture,
// one thread, in megapixels of the source picture per second. The picture
// is the binary PPM named by QUILLO_BENCH_PPM (any size), or else a
// deterministic photo-like picture: smooth gradients and blobs with a
// little noise. The parameters are the ones compare.sh gives ImageMagick
// and libvips; the comments there say how they correspond.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/common/bench_picture.h"
#include "plugins/bxcomm1/kernels/contrast_stretch.h"
#include "plugins/bxcomm1/kernels/edge_filter.h"
#include "plugins/bxcomm1/kernels/gauss_blur.h"
#include "plugins/bxcomm1/kernels/hulling.h"
#include "plugins/bxcomm1/kernels/sharpen.h"
#include "plugins/bxcomm1/kernels/unsharp.h"
#include "plugins/bxcomm2/kernels/resample_kernels.h"
#include "plugins/bxcomm2/kernels/shear_rotate.h"

namespace quillo {
namespace {

using bench::BenchPicture;
using bench::Picture;

void SetRate(benchmark::State& state, const std::string& label) {
  const Picture& pic = BenchPicture();
  state.counters["Mpx/s"] = benchmark::Counter(double(pic.width) * pic.height / 1e6 * double(state.iterations()),
                                               benchmark::Counter::kIsRate);
  state.SetLabel(label);
}

// A whole-picture pass of a colour-plug-in kernel, source to target. The
// target is cleared first, so a kernel that skips the pass is reported
// instead of timed as nothing.
template <typename Run>
void RunPass(benchmark::State& state, Run run) {
  Picture& pic = BenchPicture();
  std::fill(pic.target.begin(), pic.target.end(), uint8_t(0));
  const PixelPass pass = bench::FullPass(pic);
  for (auto _ : state) {
    run(pass);
    benchmark::DoNotOptimize(pic.target.data());
    benchmark::ClobberMemory();
  }
  if (std::all_of(pic.target.begin(), pic.target.end(), [](uint8_t v) { return v == 0; }))
    state.SkipWithError("the kernel wrote nothing");
  SetRate(state, std::to_string(pic.width) + "x" + std::to_string(pic.height));
}

// The effect's three steps: source copied, columns blurred, rows blurred.
void BM_GaussBlur(benchmark::State& state) {
  RunPass(state, [](const PixelPass& pass) {
    const GaussCurve curve(3.0);
    CopyPassSource(pass);
    BlurAreaColumns(pass, curve, pass.colBegin, pass.colEnd);
    BlurAreaRows(pass, curve, pass.rowBegin, pass.rowEnd);
  });
}
// Radius 2 is a Gaussian of standard deviation 3 (13 taps); amount 100 %.
void BM_Unsharp(benchmark::State& state) {
  RunPass(state, [](const PixelPass& pass) {
    const UnsharpKernel kernel(2.0);
    kernel.BlurRows(pass, pass.rowBegin, pass.rowEnd);
    kernel.BlurColumns(pass, pass.colBegin, pass.colEnd);
    UnsharpKernel::Combine(pass, 1.0, 0, pass.rowBegin, pass.rowEnd);
  });
}
// The dialog's default strength 50: (-4, 34, -4) / 26 down each column.
void BM_Sharpen(benchmark::State& state) {
  RunPass(state, [](const PixelPass& pass) { RunSharpen(pass, 50, pass.rowBegin, pass.rowEnd); });
}
// Divisor 1: the unscaled gradient magnitude.
void BM_Edge(benchmark::State& state) {
  RunPass(state, [](const PixelPass& pass) { RunEdge(pass, 1, pass.rowBegin, pass.rowEnd); });
}
void BM_Despeckle(benchmark::State& state) {
  RunPass(state, [](const PixelPass& pass) {
    DespeckleGrids grids;
    grids.Load(pass);  // without memory the target stays clear, which RunPass reports
    for (int channel = 0; channel < 3; ++channel) grids.Run(channel);
    grids.Store(pass);
  });
}
void BM_StretchHsv(benchmark::State& state) {
  RunPass(state, [](const PixelPass& pass) {
    ContrastStretch stretch(StretchMethod::kSaturationValue);
    stretch.Measure(pass);
    stretch.Write(pass);
  });
}
void BM_StretchChannels(benchmark::State& state) {
  RunPass(state, [](const PixelPass& pass) {
    ContrastStretch stretch(StretchMethod::kPerChannel);
    stretch.Measure(pass);
    stretch.Write(pass);
  });
}

const bxcomm2::Picture& GeometrySource() {
  static const bxcomm2::Picture pic = [] {
    const Picture& bench = BenchPicture();
    bxcomm2::Picture p = *bxcomm2::Picture::Make(bench.width, bench.height, false);
    std::copy(bench.source.begin(), bench.source.end(), p.pixels.begin());  // same row layout
    return p;
  }();
  return pic;
}

// A rotation or shear of the whole picture on a white background, canvases
// and the cropped result included.
template <typename Run>
void RunGeometry(benchmark::State& state, Run run) {
  const bxcomm2::Picture& in = GeometrySource();
  std::string size;
  for (auto _ : state) {
    const std::optional<bxcomm2::Picture> out = run(in);
    if (!out) {
      state.SkipWithError("no result");
      break;
    }
    benchmark::DoNotOptimize(out->pixels.data());
    size = std::to_string(out->width) + "x" + std::to_string(out->height);
  }
  SetRate(state, std::to_string(in.width) + "x" + std::to_string(in.height) + " -> " + size);
}

void BM_Rotate30(benchmark::State& state) {
  RunGeometry(state, [](const bxcomm2::Picture& in) { return bxcomm2::RotatePicture(in, 30, {}); });
}
// Rows move by tan(10 degrees) per row, columns by sin(10 degrees).
void BM_Shear20x10(benchmark::State& state) {
  RunGeometry(state, [](const bxcomm2::Picture& in) { return bxcomm2::ShearPicture(in, 20, 10, {}); });
}

// The zoom's kernel of button state.range(0) (461 .. 474), 4000 x 3000 to
// 1600 x 1200.
void BM_Resample(benchmark::State& state) {
  Picture& pic = BenchPicture();
  const int w = pic.width * 2 / 5, h = pic.height * 2 / 5;
  const int64_t stride = (int64_t(w) * 24 + 31) / 32 * 4;
  std::vector<uint8_t> out(size_t(stride) * h);
  const imaging::Bgr24Picture source{pic.source.data(), pic.width, pic.height, pic.stride};
  const imaging::Bgr24Picture target{out.data(), w, h, stride};
  const imaging::ResampleFilter filter = bxcomm2::ResampleFilterFor(int(state.range(0)));
  for (auto _ : state) {
    if (imaging::ResampleBgr24(source, target, filter) != imaging::ZoomStatus::kDone) {
      state.SkipWithError("resampling failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  SetRate(state, std::to_string(pic.width) + "x" + std::to_string(pic.height) + " -> " + std::to_string(w) +
                     "x" + std::to_string(h));
}

BENCHMARK(BM_GaussBlur)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unsharp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sharpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Edge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Despeckle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchHsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchChannels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rotate30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Shear20x10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resample)
    ->DenseRange(bxcomm2::kFirstResampleButton, bxcomm2::kLastResampleButton)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillo

BENCHMARK_MAIN();
