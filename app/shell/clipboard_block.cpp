#include "clipboard_block.h"

#include <cstring>
#include <limits>

#include "contracts/dib_format.h"

namespace quillo {

namespace {

void PutInt32(uint8_t* p, int32_t value) {
  const uint32_t v = uint32_t(value);
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

int32_t GetInt32(const uint8_t* p) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(p[i]) << (8 * i);
  return int32_t(v);
}

// A 24-bit picture of width x height fits in `pixelsSize` bytes and a mask
// of width x height bytes in `maskSize`.
bool PictureFits(size_t pixelsSize, size_t maskSize, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  const uint64_t stride = uint64_t(Stride24(width));
  return uint64_t(height) <= pixelsSize / stride && uint64_t(height) <= maskSize / uint64_t(width);
}

}  // namespace

size_t RgbaBlockBytes(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return 0;
  const uint64_t limit = std::numeric_limits<size_t>::max();
  if (uint64_t(width) > (limit - kRgbaHeaderBytes) / 4 / uint64_t(height)) return 0;
  return size_t(kRgbaHeaderBytes + 4 * uint64_t(width) * uint64_t(height));
}

bool WriteRgbaBlock(const uint8_t* pixels, size_t pixelsSize, const uint8_t* mask,
                    size_t maskSize, int width, int height, const Rect& area, uint8_t* out,
                    size_t outSize) {
  if (!pixels || !mask || !out || !PictureFits(pixelsSize, maskSize, width, height)) return false;
  if (area.left < 0 || area.top < 0 || area.right > width || area.bottom > height ||
      area.right <= area.left || area.bottom <= area.top)
    return false;
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  const size_t need = RgbaBlockBytes(w, h);
  if (need == 0 || outSize < need) return false;
  std::memcpy(out, "RGBA", 4);
  PutInt32(out + 4, w);
  PutInt32(out + 8, h);
  const size_t stride = size_t(Stride24(width));
  uint8_t* dst = out + kRgbaHeaderBytes;
  for (int y = area.top; y < area.bottom; ++y) {
    const uint8_t* src = pixels + size_t(height - 1 - y) * stride + 3 * size_t(area.left);
    const uint8_t* m = mask + size_t(y) * size_t(width) + size_t(area.left);
    for (int x = 0; x < w; ++x, dst += 4) {
      dst[0] = src[3 * x];
      dst[1] = src[3 * x + 1];
      dst[2] = src[3 * x + 2];
      dst[3] = m[x];
    }
  }
  return true;
}

bool ReadRgbaBlockSize(const uint8_t* block, size_t blockSize, int* width, int* height) {
  if (!block || blockSize < kRgbaHeaderBytes || std::memcmp(block, "RGBA", 4) != 0) return false;
  const int32_t w = GetInt32(block + 4);
  const int32_t h = GetInt32(block + 8);
  const size_t need = RgbaBlockBytes(w, h);
  if (need == 0 || need > blockSize) return false;
  if (width) *width = w;
  if (height) *height = h;
  return true;
}

bool ReadRgbaBlock(const uint8_t* block, size_t blockSize, uint8_t* pixels, size_t pixelsSize,
                   uint8_t* mask, size_t maskSize) {
  int width = 0, height = 0;
  if (!pixels || !mask || !ReadRgbaBlockSize(block, blockSize, &width, &height)) return false;
  if (!PictureFits(pixelsSize, maskSize, width, height)) return false;
  const size_t stride = size_t(Stride24(width));
  const uint8_t* src = block + kRgbaHeaderBytes;
  for (int y = 0; y < height; ++y) {
    uint8_t* dst = pixels + size_t(height - 1 - y) * stride;
    uint8_t* m = mask + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x, src += 4) {
      dst[3 * x] = src[0];
      dst[3 * x + 1] = src[1];
      dst[3 * x + 2] = src[2];
      m[x] = src[3];
    }
  }
  return true;
}

}  // namespace quillo
