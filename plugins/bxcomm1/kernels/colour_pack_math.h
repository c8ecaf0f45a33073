// The arithmetic the colour pack's pixel functions share. The functions
// themselves live in family headers (channels, curves, greys, looks) as
// inline code, so the preset table can build each preset's row loop with
// its formula inlined; only the table includes them.
//
// Notation of the formulas beside each function: b0, b1, b2 the source
// bytes (blue, green, red), c one byte, P1..P6 the sliders,
// Y = (77 b0 + 150 b1 + 29 b2) >> 8, "/" integer division (toward zero),
// clamp to 0..255, cap to at most 255, floor0 to at least 0. P(c) is the
// colour slider of c's channel: P1 for red, P2 for green, P3 for blue.
// A channel a formula does not mention is copied.
#pragma once
#include <algorithm>
#include <cstdint>

#include "colour_pack.h"

namespace quillo::colour_pack {

constexpr uint8_t Clamp255(int64_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }
// The formulas only cap or floor values that cannot leave the other end of
// the range; both still clamp fully so no caller can wrap a byte.
constexpr uint8_t Cap255(int64_t v) { return Clamp255(v); }
constexpr uint8_t Floor0(int64_t v) { return Clamp255(v); }

// The pack's luma weighting, byte 0 weighted 77 as the effect defines it.
constexpr int Luma(Bgr s) { return (77 * s.b0 + 150 * s.b1 + 29 * s.b2) >> 8; }
constexpr int MaxByte(Bgr s) { return std::max({s.b0, s.b1, s.b2}); }
constexpr int MinByte(Bgr s) { return std::min({s.b0, s.b1, s.b2}); }
constexpr Bgr Grey(int v) { return {Clamp255(v), Clamp255(v), Clamp255(v)}; }
constexpr int Byte(Bgr s, int channel) { return channel == 0 ? s.b0 : channel == 1 ? s.b1 : s.b2; }

// Sliders 1, 2, 3 are red, green, blue: byte 0 reads P3, byte 2 reads P1.
inline int RgbSlider(const PresetSliders& p, int channel) { return p.P(3 - channel); }

// 32 well-mixed bits of a colour (a murmur-style finaliser of the packed
// pixel), for effects that scatter by colour without a random generator.
constexpr uint32_t PixelHash(Bgr s) {
  uint32_t h = uint32_t(s.b0) | uint32_t(s.b1) << 8 | uint32_t(s.b2) << 16;
  h ^= h >> 16;
  h *= 0x7feb352dU;
  h ^= h >> 15;
  h *= 0x846ca68bU;
  h ^= h >> 16;
  return h;
}

// A per-byte function applied to all three bytes.
template <PresetChannelFn F>
Bgr ByChannel(Bgr s, const PresetSliders& p) {
  return {F(s.b0, 0, p), F(s.b1, 1, p), F(s.b2, 2, p)};
}

}  // namespace quillo::colour_pack
