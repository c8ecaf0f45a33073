// Speed of the file format kernels: decoding whole animated GIFs (every
// frame, as the animation loader does), reading the first image of one, our
// GIF encoder, and PCX reading and writing of a 4000 x 3000 picture.
//
// QUILLO_BENCH_GIFS: colon-separated GIF paths (default: three corpus
// animations). QUILLO_BENCH_PPM: a binary 8-bit PPM for the PCX and GIF
// writers (default: a generated 4000 x 3000 picture).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gifanim/gif_decode.h"
#include "outside/bxload/gif_codec.h"
#include "outside/bxload/packed_dib.h"
#include "outside/bxload/pcx_codec.h"
#include "outside/bxload/pnm_codec.h"

namespace {

using namespace quillo;
using namespace quillo::bxload;
using V = std::vector<uint8_t>;

V Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> GifPaths() {
  const char* list = std::getenv("QUILLO_BENCH_GIFS");
  std::string text = list ? list : "";
  if (text.empty()) {
    const std::string dir = std::string(QUILLO_CORPUS_DIR) + "/gif/";
    text = dir + "sample_big.gif:" + dir + "gifplayer-muybridge.gif:" + dir + "iss634.gif";
  }
  std::vector<std::string> paths;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find(':', start);
    const std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!part.empty()) paths.push_back(part);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return paths;
}

// The 24-bit picture of the writers: the PPM given, else a generated one.
const V& Picture24() {
  static const V dib = [] {
    if (const char* ppm = std::getenv("QUILLO_BENCH_PPM")) {
      const V file = Slurp(ppm);
      return ReadPnm(file.data(), file.size()).dib;
    }
    V d = NewDib(4000, 3000, 24);
    uint8_t* bits = d.data() + DibBitsOffset(d);
    for (size_t i = 0; i < d.size() - DibBitsOffset(d); ++i) bits[i] = uint8_t((i * 7) ^ (i >> 11));
    return d;
  }();
  return dib;
}

// An 8-bit picture of the same size: the green channel over a grey ramp.
const V& Picture8() {
  static const V dib = [] {
    DibView view;
    std::string error;
    ParseDib(Picture24().data(), Picture24().size(), view, error);
    V d = NewDib(view.width, view.height, 8);
    DibColour* table = DibTable(d);
    for (int i = 0; i < 256; ++i) table[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    const int64_t stride = DibStride(view.width, 8);
    uint8_t* bits = d.data() + DibBitsOffset(d);
    for (int y = 0; y < view.height; ++y)
      for (int x = 0; x < view.width; ++x) bits[stride * (view.height - 1 - y) + x] = view.Row(y)[3 * x + 1];
    return d;
  }();
  return dib;
}

DibView ViewOf(const V& dib) {
  DibView view;
  std::string error;
  ParseDib(dib.data(), dib.size(), view, error);
  return view;
}

void BM_GifDecodeAllFrames(benchmark::State& state, std::string path) {
  const V file = Slurp(path);
  uint64_t pixels = 0;
  size_t frames = 0;
  for (auto _ : state) {
    gifanim::GifImage gif;
    if (gifanim::DecodeGif(file.data(), file.size(), gif) != gifanim::GifStatus::kOk) {
      state.SkipWithError("decode failed");
      break;
    }
    pixels = 0;
    for (const auto& f : gif.frames) pixels += f.indices.size();
    frames = gif.frames.size();
    benchmark::DoNotOptimize(gif.frames.data());
  }
  state.counters["frames"] = double(frames);
  state.counters["Mpx/s"] = benchmark::Counter(double(pixels) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_GifFirstImage(benchmark::State& state, std::string path) {
  const V file = Slurp(path);
  for (auto _ : state) {
    const GifPicture picture = ReadGif(file.data(), file.size());
    if (picture.dib.empty()) state.SkipWithError(picture.error.c_str());
    benchmark::DoNotOptimize(picture.dib.data());
  }
}

void BM_GifWrite8(benchmark::State& state) {
  const DibView view = ViewOf(Picture8());
  std::string error;
  size_t bytes = 0;
  for (auto _ : state) {
    const V file = WriteGif(view, error);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["file MB"] = double(bytes) / 1e6;
  state.counters["Mpx/s"] = benchmark::Counter(double(view.width) * view.height / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PcxWrite24(benchmark::State& state) {
  const DibView view = ViewOf(Picture24());
  std::string error;
  for (auto _ : state) benchmark::DoNotOptimize(WritePcx(view, error).data());
  state.counters["Mpx/s"] = benchmark::Counter(double(view.width) * view.height / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PcxRead24(benchmark::State& state) {
  const DibView view = ViewOf(Picture24());
  std::string error;
  const V file = WritePcx(view, error);
  for (auto _ : state) benchmark::DoNotOptimize(ReadPcx(file.data(), file.size()).dib.data());
  state.counters["Mpx/s"] = benchmark::Counter(double(view.width) * view.height / 1e6,
                                               benchmark::Counter::kIsIterationInvariantRate);
}

const bool kRegistered = [] {
  for (const std::string& path : GifPaths()) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    benchmark::RegisterBenchmark(("BM_GifDecodeAllFrames/" + name).c_str(), BM_GifDecodeAllFrames, path)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_GifFirstImage/" + name).c_str(), BM_GifFirstImage, path)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("BM_GifWrite8", BM_GifWrite8)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_PcxWrite24", BM_PcxWrite24)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_PcxRead24", BM_PcxRead24)->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
