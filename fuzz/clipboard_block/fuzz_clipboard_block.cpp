// libFuzzer target: the "RGBA" clipboard block as any process may leave it.
// The input is the whole block (its global size is the input size). The size
// reader must accept exactly the blocks that start with "RGBA", give
// positive sizes and hold 12 + 4 x width x height bytes; an accepted block
// read into a picture and mask of its size and written back from the whole
// area must give the same meaningful bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/shell/clipboard_block.h"
#include "contracts/dib_format.h"

using namespace quillo;

namespace {

// Keeps each run fast: larger pictures are only measured.
constexpr uint64_t kMaxPixels = uint64_t(1) << 22;

int32_t Int32At(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// 12 + 4 x width x height in 128 bits, where nothing can wrap.
using Wide = unsigned __int128;

Wide NeededBytes(int64_t width, int64_t height) {
  return Wide(kRgbaHeaderBytes) + Wide(4) * Wide(width) * Wide(height);
}

// RgbaBlockBytes against the wide product, for sizes beyond 32 bits too.
void CheckBlockBytes(int64_t width, int64_t height) {
  const size_t got = RgbaBlockBytes(width, height);
  const bool fits = width > 0 && height > 0 && width <= INT32_MAX && height <= INT32_MAX &&
                    NeededBytes(width, height) <= SIZE_MAX;
  if (fits ? got != size_t(NeededBytes(width, height)) : got != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy, so reading past the block is caught.
  std::vector<uint8_t> block(data, data + size);
  int width = -1, height = -1;
  const bool accepted = ReadRgbaBlockSize(block.data(), block.size(), &width, &height);

  bool expected = false;
  if (size >= kRgbaHeaderBytes) {
    const int64_t w = Int32At(data + 4), h = Int32At(data + 8);
    expected = std::memcmp(data, "RGBA", 4) == 0 && w > 0 && h > 0 && NeededBytes(w, h) <= size;
    if (expected && (width != w || height != h)) __builtin_trap();
    CheckBlockBytes(w, h);
    // The same sizes read as unsigned and widened: the reader's limits must
    // hold beyond the signed 32-bit range as well.
    CheckBlockBytes(int64_t(uint32_t(w)) << 1, int64_t(uint32_t(h)) + 1);
  }
  if (accepted != expected) __builtin_trap();
  if (!accepted) {
    uint8_t pixel[4] = {}, mask[1] = {};
    if (ReadRgbaBlock(block.data(), block.size(), pixel, sizeof pixel, mask, sizeof mask))
      __builtin_trap();
    return 0;
  }
  if (uint64_t(width) * uint64_t(height) > kMaxPixels) return 0;

  const size_t stride = size_t(Stride24(width));
  const size_t pixelsSize = stride * size_t(height);
  const size_t maskSize = size_t(width) * size_t(height);
  std::vector<uint8_t> pixels(pixelsSize), mask(maskSize);
  // A picture one row short must be refused without a write.
  if (ReadRgbaBlock(block.data(), block.size(), pixels.data(), pixelsSize - stride, mask.data(),
                    maskSize))
    __builtin_trap();
  if (!ReadRgbaBlock(block.data(), block.size(), pixels.data(), pixelsSize, mask.data(), maskSize))
    __builtin_trap();

  const size_t meaningful = RgbaBlockBytes(width, height);
  std::vector<uint8_t> again(meaningful);
  const Rect whole{0, 0, width, height};
  if (!WriteRgbaBlock(pixels.data(), pixelsSize, mask.data(), maskSize, width, height, whole,
                      again.data(), again.size()))
    __builtin_trap();
  if (std::memcmp(again.data(), block.data(), meaningful) != 0) __builtin_trap();
  return 0;
}
