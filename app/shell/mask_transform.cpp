#include "mask_transform.h"

#include <cstring>

#include "contracts/dib_format.h"

namespace quillo {

namespace {

bool HoldsMask(size_t size, int width, int height) {
  return width > 0 && height > 0 && uint64_t(height) <= size / uint64_t(width);
}

}  // namespace

bool TransformMask(const uint8_t* in, size_t inSize, int width, int height, MaskTransform change,
                   uint8_t* out, size_t outSize) {
  if (!in || !out || !HoldsMask(inSize, width, height) || !HoldsMask(outSize, width, height))
    return false;
  const size_t w = size_t(width), h = size_t(height);
  switch (change) {
    case MaskTransform::kMirrorX:
      for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) out[y * w + x] = in[y * w + (w - 1 - x)];
      return true;
    case MaskTransform::kMirrorY:
      for (size_t y = 0; y < h; ++y) std::memcpy(out + y * w, in + (h - 1 - y) * w, w);
      return true;
    case MaskTransform::kHalfTurn:
      for (size_t i = 0, n = w * h; i < n; ++i) out[i] = in[n - 1 - i];
      return true;
    case MaskTransform::kTurnRight:  // output is h wide, w high
      for (size_t y = 0; y < w; ++y)
        for (size_t x = 0; x < h; ++x) out[y * h + x] = in[(h - 1 - x) * w + y];
      return true;
    case MaskTransform::kTurnLeft:
      for (size_t y = 0; y < w; ++y)
        for (size_t x = 0; x < h; ++x) out[y * h + x] = in[x * w + (w - 1 - y)];
      return true;
  }
  return false;
}

void InvertMask(const uint8_t* in, uint8_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i) out[i] = uint8_t(255 - in[i]);
}

bool CopyMaskArea(const uint8_t* in, size_t inSize, int width, int height, const Rect& area,
                  uint8_t* out, size_t outSize) {
  if (!in || !out || !HoldsMask(inSize, width, height)) return false;
  if (area.left < 0 || area.top < 0 || area.right > width || area.bottom > height ||
      area.right <= area.left || area.bottom <= area.top)
    return false;
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  if (!HoldsMask(outSize, w, h)) return false;
  for (int y = 0; y < h; ++y)
    std::memcpy(out + size_t(y) * size_t(w),
                in + size_t(area.top + y) * size_t(width) + size_t(area.left), size_t(w));
  return true;
}

bool LightnessGreyDib(uint8_t* dib, size_t size) {
  if (!dib || size < sizeof(DibHeader)) return false;
  DibHeader h;
  std::memcpy(&h, dib, sizeof h);
  if (h.size < sizeof(DibHeader) || h.size > size || h.compression != kDibRgb || h.planes != 1)
    return false;
  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return false;
  const int bits = h.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  int64_t colours = h.clrUsed;
  if (colours == 0 && bits <= 8) colours = int64_t(1) << bits;
  if (bits > 8 && colours > 256) return false;
  if (bits <= 8 && colours > (int64_t(1) << bits)) return false;
  const int64_t rows = h.height < 0 ? -int64_t(h.height) : int64_t(h.height);
  const int64_t stride = DibStride(h.width, bits);
  const int64_t tableOffset = h.size;
  const int64_t pixelOffset = tableOffset + colours * 4;
  if (pixelOffset > int64_t(size) || rows > (int64_t(size) - pixelOffset) / stride) return false;

  if (bits <= 8) {
    if (colours == 2) return true;  // two-colour pictures stay as they are
    for (int64_t i = 0; i < colours; ++i) {
      uint8_t* e = dib + tableOffset + 4 * i;
      e[0] = e[1] = e[2] = Lightness(e[0], e[1], e[2]);
    }
    return true;
  }
  if (bits == 16) return true;
  const int step = bits / 8;
  for (int64_t y = 0; y < rows; ++y) {
    uint8_t* p = dib + pixelOffset + y * stride;
    for (int32_t x = 0; x < h.width; ++x, p += step) p[0] = p[1] = p[2] = Lightness(p[0], p[1], p[2]);
  }
  return true;
}

}  // namespace quillo
