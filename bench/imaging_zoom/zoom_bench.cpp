// Speed of the cubic B-spline resampler (ZoomDIBEx's kernel), one thread,
// in megapixels per second of the larger of source and target.
//
//   bxcomm_zoom_bench [benchmark options]      times the three cases on the
//       PPMs named by QUILLO_BENCH_PPM (4000 x 3000) and QUILLO_BENCH_SMALL_PPM
//       (1000 x 750); without them, deterministic photo-like pictures
//   bxcomm_zoom_bench --zoom in.ppm W H out.ppm   writes one resampled picture
//   bxcomm_zoom_bench --compare a.ppm b.ppm       mean and largest absolute
//       channel difference and PSNR of two pictures of one size
#include <benchmark/benchmark.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zoom.h"

namespace quillo::imaging {
namespace {

struct Picture {
  int width = 0, height = 0;
  int64_t stride = 0;
  std::vector<uint8_t> bytes;  // bottom-up blue, green, red rows
  void Resize(int w, int h) {
    width = w, height = h, stride = ((int64_t(w) * 24 + 31) / 32) * 4;
    bytes.assign(size_t(stride * h), 0);
  }
  Bgr24Picture view() { return Bgr24Picture{bytes.data(), width, height, stride}; }
};

bool ReadToken(FILE* f, int* value) {
  int c = std::fgetc(f);
  while (c == '#' || std::isspace(c)) {
    if (c == '#')
      while (c != '\n' && c != EOF) c = std::fgetc(f);
    c = std::fgetc(f);
  }
  if (c < '0' || c > '9') return false;
  int v = 0;
  while (c >= '0' && c <= '9' && v < 100000) v = v * 10 + (c - '0'), c = std::fgetc(f);
  *value = v;
  return true;
}

bool LoadPpm(const char* path, Picture* pic) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  int w = 0, h = 0, maxval = 0;
  char magic[2] = {};
  bool ok = std::fread(magic, 1, 2, f) == 2 && magic[0] == 'P' && magic[1] == '6' &&
            ReadToken(f, &w) && ReadToken(f, &h) && ReadToken(f, &maxval) && maxval == 255 &&
            w > 0 && h > 0 && w <= 20000 && h <= 20000;
  if (ok) {
    pic->Resize(w, h);
    std::vector<uint8_t> row(size_t(w) * 3);
    for (int y = 0; y < h && ok; ++y) {
      ok = std::fread(row.data(), 1, row.size(), f) == row.size();
      uint8_t* dst = pic->bytes.data() + (h - 1 - y) * pic->stride;
      for (int x = 0; x < w; ++x)
        dst[3 * x] = row[3 * x + 2], dst[3 * x + 1] = row[3 * x + 1], dst[3 * x + 2] = row[3 * x];
    }
  }
  std::fclose(f);
  return ok;
}

bool SavePpm(const char* path, const Picture& pic) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  std::fprintf(f, "P6\n%d %d\n255\n", pic.width, pic.height);
  std::vector<uint8_t> row(size_t(pic.width) * 3);
  for (int y = 0; y < pic.height; ++y) {
    const uint8_t* src = pic.bytes.data() + (pic.height - 1 - y) * pic.stride;
    for (int x = 0; x < pic.width; ++x)
      row[3 * x] = src[3 * x + 2], row[3 * x + 1] = src[3 * x + 1], row[3 * x + 2] = src[3 * x];
    std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0;
}

void Synthetic(Picture* pic, int w, int h) {
  pic->Resize(w, h);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double u = double(x) / w, v = double(y) / h, blob = std::sin(u * 9) * std::cos(v * 7);
      const double base[3] = {90 + 80 * v + 40 * blob, 110 + 70 * u * v + 50 * std::sin(u * 23),
                              140 - 60 * u + 45 * blob};
      for (int k = 0; k < 3; ++k) {
        seed = seed * 214013u + 2531011u;
        const int value = int(base[k]) + int((seed >> 16) & 15) - 8;
        pic->bytes[y * pic->stride + 3 * x + k] = uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
      }
    }
}

Picture& Source(const char* variable, int w, int h) {
  static Picture large, small;
  Picture& pic = w == 4000 ? large : small;
  if (pic.bytes.empty()) {
    const char* path = std::getenv(variable);
    if (!path || !LoadPpm(path, &pic)) {
      if (path) std::fprintf(stderr, "cannot read %s, using a synthetic picture\n", path);
      Synthetic(&pic, w, h);
    }
  }
  return pic;
}

void RunZoom(benchmark::State& state, Picture& source, int w, int h) {
  Picture target;
  target.Resize(w, h);
  for (auto _ : state) {
    if (ZoomBgr24(source.view(), target.view()) != ZoomStatus::kDone) state.SkipWithError("zoom failed");
    benchmark::DoNotOptimize(target.bytes.data());
    benchmark::ClobberMemory();
  }
  const double larger = std::max(double(source.width) * source.height, double(w) * h) / 1e6;
  state.counters["Mpx/s"] = benchmark::Counter(larger * double(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(std::to_string(source.width) + "x" + std::to_string(source.height) + " -> " +
                 std::to_string(w) + "x" + std::to_string(h));
}

void BM_Down1000x750(benchmark::State& state) {
  RunZoom(state, Source("QUILLO_BENCH_PPM", 4000, 3000), 1000, 750);
}
void BM_Down837x628(benchmark::State& state) {
  RunZoom(state, Source("QUILLO_BENCH_PPM", 4000, 3000), 837, 628);
}
void BM_Up4000x3000(benchmark::State& state) {
  RunZoom(state, Source("QUILLO_BENCH_SMALL_PPM", 1000, 750), 4000, 3000);
}

BENCHMARK(BM_Down1000x750)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Down837x628)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Up4000x3000)->Unit(benchmark::kMillisecond);

int ZoomFile(const char* in, int w, int h, const char* out) {
  Picture source, target;
  if (!LoadPpm(in, &source)) return std::fprintf(stderr, "cannot read %s\n", in), 1;
  target.Resize(w, h);
  if (ZoomBgr24(source.view(), target.view()) != ZoomStatus::kDone || !SavePpm(out, target))
    return std::fprintf(stderr, "cannot zoom into %s\n", out), 1;
  return 0;
}

int Compare(const char* a, const char* b) {
  Picture p, q;
  if (!LoadPpm(a, &p) || !LoadPpm(b, &q) || p.width != q.width || p.height != q.height)
    return std::fprintf(stderr, "cannot compare %s and %s\n", a, b), 1;
  double sum = 0, squares = 0;
  int largest = 0;
  const int64_t n = int64_t(p.width) * p.height * 3;
  for (int y = 0; y < p.height; ++y)
    for (int i = 0; i < p.width * 3; ++i) {
      const int d = std::abs(int(p.bytes[y * p.stride + i]) - int(q.bytes[y * q.stride + i]));
      sum += d, squares += double(d) * d, largest = std::max(largest, d);
    }
  const double mse = squares / double(n);
  const double psnr = mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : INFINITY;
  std::printf("mean %.3f max %d psnr %.2f\n", sum / double(n), largest, psnr);
  return 0;
}

}  // namespace
}  // namespace quillo::imaging

int main(int argc, char** argv) {
  using namespace quillo::imaging;
  if (argc == 6 && std::strcmp(argv[1], "--zoom") == 0)
    return ZoomFile(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv[5]);
  if (argc == 4 && std::strcmp(argv[1], "--compare") == 0) return Compare(argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
