// Arbitrary blocks through the DIB check and, when sound, through every
// transform, the 24-bit copy, grey, clipping, filling, resampling and the
// quantiser. The first input byte picks parameters; the rest is the block.
#include <cstdint>
#include <cstring>
#include <vector>

#include "outside/bxdib3/dib_check.h"
#include "outside/bxdib3/dib_convert.h"
#include "outside/bxdib3/dib_quantize.h"
#include "outside/bxdib3/dib_resample.h"
#include "outside/bxdib3/dib_transform.h"

using namespace quillo::dib;

namespace {

// Keeps each run fast: images beyond this many pixels are only checked.
constexpr uint64_t kMaxPixels = 1 << 12;

std::vector<uint8_t> Make(const DibShape& shape) {
  const uint64_t size = DibBlockSize(shape);
  if (size == 0) __builtin_trap();  // a sound source must give a sound result shape
  return std::vector<uint8_t>(size_t(size));
}

void MustBeSound(const std::vector<uint8_t>& block) {
  if (!IsSoundDib(block.data(), block.size())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t pick = data[0];
  // An exact-size copy, so reading past the block is caught.
  std::vector<uint8_t> block(data + 1, data + size);
  DibInfo info;
  if (CheckDib(block.data(), block.size(), &info) != DibFault::kSound) return 0;
  if (uint64_t(info.width) * uint64_t(info.height) > kMaxPixels) return 0;

  const int modes[] = {1, 2, 4, 8, 16, 32, 48};
  const int mode = modes[pick % 7];
  DibShape shape;
  if (!TransformShape(block.data(), info, mode, &shape)) __builtin_trap();
  auto turned = Make(shape);
  TransformDib(block.data(), info, mode, turned.data());
  MustBeSound(turned);

  auto rgb = Make(Bgr24Shape(block.data(), info));
  ConvertTo24(block.data(), info, rgb.data());
  MustBeSound(rgb);

  PixelRect rect;
  if (ClipToImage(info, pick % 5 - 1, pick / 40, info.width / 2 + 1, info.height, &rect)) {
    auto part = Make(ClipShape(block.data(), info, rect));
    CopyRect(block.data(), info, rect, part.data());
    MustBeSound(part);
    std::vector<uint8_t> view(size_t(3 * 3 * 4));
    ResampleToBgr(block.data(), info, rect, 3, 4, view.data(), 9);
  }

  if (pick & 0x80) {
    QuantPalette palette;
    const int colours[] = {2, 16, 256};
    if (!ChoosePalette(block.data(), info, colours[pick % 3], &palette)) __builtin_trap();
    auto indexed = Make(IndexShape(block.data(), info, palette));
    std::vector<uint8_t> indices(size_t(info.width) * size_t(info.height));
    MapToPalette(block.data(), info, palette, indexed.data(), indices.data());
    MustBeSound(indexed);
  }

  GreyInPlace(block.data(), info);
  const uint8_t colour[3] = {pick, uint8_t(pick * 3), uint8_t(pick * 7)};
  FillDib(block.data(), info, colour);
  return 0;
}
