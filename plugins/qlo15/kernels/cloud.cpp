#include "cloud.h"

#include <algorithm>

namespace quillo::qlo15 {

const std::array<int32_t, 256>& CloudLightTable() {
  static const std::array<int32_t, 256> table = [] {
    std::array<int32_t, 256> t{};
    for (int v = 0; v < 256; ++v) t[size_t(v)] = std::max(0, int((255 - 2 * v) * 4.015686274509804));
    return t;
  }();
  return table;
}

void SetCloudShape(CloudState& state, int base, int roughness) {
  state.base = std::clamp(base, kCloudMinBase, kCloudMaxBase);
  state.roughness = std::clamp(roughness, kCloudMinRoughness, kCloudMaxRoughness);
  state.regenerate = true;
}

void GrowCloudMap(CloudMap& map, int roughness, int base, RuntimeRandom& random) {
  if (map.size() < size_t(kCloudMapSize) * kCloudMapSize) return;
  auto at = [&](int row, int column) -> int32_t& {
    return map[size_t(row & 255) * kCloudMapSize + size_t(column & 255)];
  };
  for (int d = kCloudMapSize; d >= 2; d /= 2) {
    const int c = d / 2;
    // n is 1 or more for the sliders' ranges (base and roughness >= 1).
    const int n = std::max(1, base + roughness * d);
    auto jitter = [&](int t) { return std::clamp(t + random.Below(n) - n / 2, 0, 255); };
    for (int f = 0; f < kCloudMapSize; f += d)
      for (int u = 0; u < kCloudMapSize; u += d) {
        const int a0 = at(f, u), a1 = at(f + d, u), a2 = at(f, u + d), a3 = at(f + d, u + d);
        at(f + c, u + c) = jitter((a0 + a1 + a2 + a3) / 4);
        if (f == 0) at(f + c, u) = jitter((a0 + a1) / 2);
        if (u == 0) at(f, u + c) = jitter((a0 + a2) / 2);
        at(f + d, u + c) = jitter((a3 + a1) / 2);
        at(f + c, u + d) = jitter((a3 + a2) / 2);
      }
  }
}

void CloudFrame(CloudState& state, const uint8_t* source, uint8_t* out, int width, int height,
                int64_t stride, RuntimeRandom& random) {
  if (!source || !out || width <= 0 || height <= 0 || stride < int64_t(width) * 3) return;
  if (state.regenerate) {
    SetCloudShape(state, state.base, state.roughness);
    GrowCloudMap(state.maps[0], state.roughness, state.base, random);
    GrowCloudMap(state.maps[1], state.roughness, state.base + 2, random);
    GrowCloudMap(state.maps[2], state.roughness + 1, state.base, random);
    state.regenerate = false;
  }
  const auto& light = CloudLightTable();
  const int32_t* m1 = state.maps[0].data();
  const int32_t* m2 = state.maps[1].data();
  const int32_t* m3 = state.maps[2].data();
  const int s0 = state.s0 & 255, s1 = state.s1 & 255;
  for (int i = 0; i < height; ++i) {
    const int32_t* row1 = m1 + size_t(i & 255) * kCloudMapSize;
    const int32_t* row2 = m2 + size_t((i + s1) & 255) * kCloudMapSize;
    const int32_t* row3 = m3 + size_t(i & 255) * kCloudMapSize;
    const uint8_t* in = source + int64_t(i) * stride;
    uint8_t* o = out + int64_t(i) * stride;
    for (int j = 0; j < width; ++j, in += 3, o += 3) {
      const int v = (row3[(j + s1) & 255] + row2[(j + s0) & 255] + row1[j & 255]) / 3;
      const int w = light[size_t(v)];
      if (state.sky) {
        o[0] = 255;
        o[1] = o[2] = uint8_t(std::min(255, v + ((255 * w) >> 10)));
      } else {
        o[0] = uint8_t(std::min(255, v + ((in[0] * w) >> 10)));
        o[1] = uint8_t(std::min(255, v + ((in[1] * w) >> 10)));
        o[2] = uint8_t(std::min(255, v + ((in[2] * w) >> 10)));
      }
    }
  }
  state.s0 = (s0 + 2) & 255;
  state.s1 = (s1 + 3) & 255;
}

}  // namespace quillo::qlo15
