#include "effect_area.h"

#include <cstdint>

namespace quillo {

EffectArea SettleArea(const int32_t* selection, int width, int height) {
  int left = 0, top = 0, right = width, bottom = height;
  if (selection) {
    const int32_t l = selection[0], t = selection[1], r = selection[2], b = selection[3];
    const bool inside = l >= 0 && t >= 0 && r >= 0 && b >= 0 && l <= width && r <= width &&
                        t <= height && b <= height;
    const bool nonEmpty = r > l && b > t;
    if (inside && nonEmpty) {
      left = l;
      top = t;
      right = r;
      bottom = b;
    }
  }
  return EffectArea{left, right, height - bottom, height - top};
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = int64_t(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const int64_t num = product < 0 ? -product : product;
  const int64_t den = c < 0 ? -int64_t(c) : int64_t(c);
  const int64_t q = (num + den / 2) / den;
  if (q > INT32_MAX) return -1;  // as MulDiv answers an overflow
  return int(negative ? -q : q);
}

EffectArea ScaleArea(const EffectArea& area, int width, int height, int previewWidth,
                     int previewHeight) {
  return EffectArea{MulDivRound(area.left, previewWidth, width),
                    MulDivRound(area.right, previewWidth, width),
                    MulDivRound(area.firstRow, previewHeight, height),
                    MulDivRound(area.endRow, previewHeight, height)};
}

}  // namespace quillo
