#include "flamme.h"

#include <cstddef>
#include <new>

namespace quillo::qlo16 {

namespace {

constexpr uint8_t kHotSpot = 149;

bool Ready(const FlammeState& s) {
  const size_t cells = size_t(s.width) * (size_t(s.height) + kFlammeExtraRows);
  return s.width > 0 && s.height > 0 && s.current.size() == cells && s.next.size() == cells;
}

}  // namespace

FirePalette256 FlammePalette() {
  FirePalette256 palette;
  for (int k = 0; k < 256; ++k) palette[size_t(k)] = animation::BaseFireColour(k);
  return palette;
}

bool ResetFlamme(FlammeState& state, int width, int height) {
  const bool positive = width > 0 && height > 0;
  state.width = positive ? width : 0;
  state.height = positive ? height : 0;
  const size_t cells = positive ? size_t(width) * (size_t(height) + kFlammeExtraRows) : 0;
  try {
    state.current.assign(cells, 0);
    state.next.assign(cells, 0);
  } catch (const std::bad_alloc&) {
    state = FlammeState();
    return false;
  }
  return true;
}

void StepFlamme(FlammeState& state, RuntimeRandom& random) {
  if (!Ready(state)) return;
  const int64_t w = state.width, h = state.height;
  uint8_t* k = state.current.data();
  uint8_t* n = state.next.data();

  // Feed: three rows below the picture, then the hot spots, each a
  // 3 x 3 cluster whose last row leans one cell to the right.
  for (int64_t i = h * w; i < (h + 3) * w; ++i) k[i] = uint8_t(random.Below(40) + 56);
  const int spots = random.Below(40) + 30;
  if (w > 3) {
    for (int j = 0; j < spots; ++j) {
      const int64_t s = (h + 1) * w + random.Below(w - 3);
      for (const int64_t at : {s, s + 1, s + 2, s + w, s + w + 1, s + w + 2, s + 2 * w + 1, s + 2 * w + 2,
                               s + 2 * w + 3})
        k[at] = kHotSpot;
    }
  }

  // Rise: each cell of the next field takes the mean of the current
  // field's cell two rows below it and the three cells three rows below,
  // cooled by one.
  const int64_t end = w * (h + 2) - 3;
  const uint8_t* below = k + 3 * w;
  const uint8_t* under = k + 4 * w;
  uint8_t* to = n + w;
  // The first cell's left neighbour four rows down is the last cell of the
  // row before, inside the field for any width.
  for (int64_t i = 0; i <= end; ++i) {
    const int v = (below[i] + under[i - 1] + under[i + 1] + under[i]) >> 2;
    to[i] = uint8_t(v ? v - 1 : 0);
  }
  state.current.swap(state.next);
}

void DrawFlamme(const FlammeState& state, const FirePalette256& palette, const uint8_t* backup, uint8_t* out,
                int64_t stride) {
  if (!Ready(state) || !backup || !out || stride < int64_t(state.width) * 3) return;
  const int w = state.width, h = state.height;
  for (int i = 0; i < h; ++i) {
    const uint8_t* heat = state.current.data() + int64_t(i) * w;
    const int64_t row = int64_t(h - 1 - i) * stride;
    const uint8_t* src = backup + row;
    uint8_t* dst = out + row;
    for (int j = 0; j < w; ++j, src += 3, dst += 3) {
      const FireColour& p = palette[heat[j]];
      dst[0] = uint8_t(p.blue - ((src[0] * (p.blue - 255) + 255) >> 8));
      dst[1] = uint8_t(p.green - ((src[1] * (p.green - 255) + 255) >> 8));
      dst[2] = uint8_t(p.red - ((src[2] * (p.red - 255) + 255) >> 8));
    }
  }
}

}  // namespace quillo::qlo16
