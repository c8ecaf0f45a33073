// Colour pack: tone curves, each byte c (channel k) mapped by its own value
// alone, so the kernel can run them through per-channel tables.
#pragma once
#include <cmath>
#include <cstdlib>

#include "colour_pack_math.h"

namespace quillo::colour_pack {

// clamp(2c - P1)
inline uint8_t Degray(int c, int, const PresetSliders& p) { return Clamp255(2 * c - p.P1()); }
// clamp(2c - P(c))
inline uint8_t Purify(int c, int k, const PresetSliders& p) {
  return Clamp255(2 * c - RgbSlider(p, k));
}
// clamp(c + P2) when c > P1, else clamp(c - P2)
inline uint8_t Comic(int c, int, const PresetSliders& p) {
  return c > p.P1() ? Clamp255(c + p.P2()) : Clamp255(c - p.P2());
}
// cap(trunc(sqrt(c x P1)) + P(4 - k)): byte 0 adds P4, byte 1 P3, byte 2 P2.
inline uint8_t Saturation(int c, int k, const PresetSliders& p) {
  // sqrt is correctly rounded; the two steps make the truncation exact anyway.
  const int n = c * p.P1();
  int r = int(std::sqrt(double(n)));
  while (r * r > n) --r;
  while ((r + 1) * (r + 1) <= n) ++r;
  return Cap255(r + p.P(4 - k));
}
// a = (128 - P(c)) x (128 - c): 255 when a < -16256, 128 - (a >> 7) when a < 16512, else 0.
inline uint8_t Tone(int c, int k, const PresetSliders& p) {
  const int a = (128 - RgbSlider(p, k)) * (128 - c);
  if (a < -16256) return 255;
  if (a < 16512) return uint8_t(128 - (a >> 7));  // >> floors, as an arithmetic shift
  return 0;
}
// A gamma-like bend with 0 and 255 fixed, g = 255 x 129 c / (129 c + (P(c) + 1)(255 - c))
// (P(c) = 128 straight, above darker, below lighter), blended by P4:
// c + (g - c) x P4 / 255. The denominator is at least 255.
inline uint8_t GammaBend(int c, int k, const PresetSliders& p) {
  const int g = 255 * 129 * c / (129 * c + (RgbSlider(p, k) + 1) * (255 - c));
  return uint8_t(c + (g - c) * p.P4() / 255);
}
// Shadows and highlights stretched apart separately:
// c < 128: floor0(c - (128 - c) x P1 / 128), else cap(c + (c - 128) x P2 / 128).
inline uint8_t TwoLevelContrast(int c, int, const PresetSliders& p) {
  return c < 128 ? Floor0(c - (128 - c) * p.P1() / 128) : Cap255(c + (c - 128) * p.P2() / 128);
}
// cap(c limited to [min(P1, P2), max(P1, P2)] + P3)
inline uint8_t Limit(int c, int, const PresetSliders& p) {
  const int lo = std::min(p.P1(), p.P2()), hi = std::max(p.P1(), p.P2());
  return Cap255(std::clamp(c, lo, hi) + p.P3());
}
// (c + P(c)) mod 256: the channel rotated round, so bright wraps to dark.
inline uint8_t Shift(int c, int k, const PresetSliders& p) {
  return uint8_t((c + RgbSlider(p, k)) & 255);
}
// cap((c x P(c) x 2) >> 8)
inline uint8_t RgbShift(int c, int k, const PresetSliders& p) {
  return Cap255((c * RgbSlider(p, k) * 2) >> 8);
}
// clamp(c + P(c) - 128)
inline uint8_t RgbAdjust(int c, int k, const PresetSliders& p) {
  return Clamp255(c + RgbSlider(p, k) - 128);
}
// clamp((c + P(c) - 128) x P4 / 128): offsets, then a common value gain.
inline uint8_t RgbvAdjust(int c, int k, const PresetSliders& p) {
  return Clamp255((c + RgbSlider(p, k) - 128) * p.P4() / 128);
}
// Value gain P1, colour offset, value gain P5 (P2 red, P3 green, P4 blue):
// cap(clamp(c x P1 / 128 + P(4 - k) - 128) x P5 / 128).
inline uint8_t VRgbVAdjust(int c, int k, const PresetSliders& p) {
  const int offset = Clamp255(c * p.P1() / 128 + p.P(4 - k) - 128);
  return Cap255(offset * p.P5() / 128);
}
// abs(c - P(c))
inline uint8_t Difference(int c, int k, const PresetSliders& p) {
  return uint8_t(std::abs(c - RgbSlider(p, k)));
}
// A triangle wave: t = (c x (P1 + 16) / 16 + P2 + k x P3) mod 512, t < 256 ? t : 511 - t.
inline uint8_t ColorWave(int c, int k, const PresetSliders& p) {
  const int t = (c * (p.P1() + 16) / 16 + p.P2() + k * p.P3()) % 512;
  return uint8_t(t < 256 ? t : 511 - t);
}
// A sawtooth: (c x (P1 + 32) / 32) mod 256.
inline uint8_t Cyclic(int c, int, const PresetSliders& p) {
  return uint8_t((c * (p.P1() + 32) / 32) & 255);
}
// n = 2 + P1 x 14 / 255 levels (2..16): ((c x n) >> 8) x 255 / (n - 1).
inline uint8_t Posterize(int c, int, const PresetSliders& p) {
  const int n = 2 + p.P1() * 14 / 255;
  return uint8_t(((c * n) >> 8) * 255 / (n - 1));
}
// Keeps the top 1 + P1 x 7 / 256 bits (1..7) of c, the rest cleared.
inline uint8_t Digitize(int c, int, const PresetSliders& p) {
  const int bits = 1 + p.P1() * 7 / 256;
  return uint8_t(c & (0xFF00 >> bits));
}
// Toward the negative: c + (255 - 2c) x P1 / 255.
inline uint8_t Reverse(int c, int, const PresetSliders& p) {
  return uint8_t(c + (255 - 2 * c) * p.P1() / 255);
}
// (P1 + (P2 AND c) + c) AND c, bitwise
inline uint8_t ColorMetal(int c, int, const PresetSliders& p) {
  return uint8_t((p.P1() + (p.P2() & c) + c) & c);
}
// clamp(128 + (c - 128) x P1 / 64)
inline uint8_t Contrast(int c, int, const PresetSliders& p) {
  return Clamp255(128 + (c - 128) * p.P1() / 64);
}
// An S-curve blended in by P1: d = c - 128, s = d x (256 - |d|) / 128,
// clamp(128 + d + (s - d) x P1 / 255).
inline uint8_t Contrast2(int c, int, const PresetSliders& p) {
  const int d = c - 128;
  const int s = d * (256 - std::abs(d)) / 128;
  return Clamp255(128 + d + (s - d) * p.P1() / 255);
}
// The range 0..255 squeezed to P1..P2 (P2 < P1 inverts): P1 + c x (P2 - P1) / 255.
inline uint8_t Scale(int c, int, const PresetSliders& p) {
  return uint8_t(p.P1() + c * (p.P2() - p.P1()) / 255);
}
// The picture multiplied by itself, by P1: c x (c x P1 + 255 x (255 - P1)) / 65025.
inline uint8_t Multiply(int c, int, const PresetSliders& p) {
  return uint8_t(c * (c * p.P1() + 255 * (255 - p.P1())) / 65025);
}
// 255 - c when c > P1, else c
inline uint8_t Solarize(int c, int, const PresetSliders& p) {
  return uint8_t(c > p.P1() ? 255 - c : c);
}
// A tent peaking at P1: c < P1 ? c x 255 / P1 : (255 - c) x 255 / max(255 - P1, 1).
inline uint8_t Solarize2(int c, int, const PresetSliders& p) {
  if (c < p.P1()) return uint8_t(c * 255 / p.P1());
  return uint8_t((255 - c) * 255 / std::max(255 - p.P1(), 1));
}
// max(c, P(c)): no channel below its floor.
inline uint8_t MaxFloor(int c, int k, const PresetSliders& p) {
  return uint8_t(std::max(c, RgbSlider(p, k)));
}
// Toward white: c + (255 - c) x P1 / 255.
inline uint8_t Fade(int c, int, const PresetSliders& p) {
  return uint8_t(c + (255 - c) * p.P1() / 255);
}
// Toward black: c x (255 - P1) / 255.
inline uint8_t Fade2(int c, int, const PresetSliders& p) {
  return uint8_t(c * (255 - p.P1()) / 255);
}
// A bow that lifts the middle, 0 and 255 fixed: c + c x (255 - c) x P1 / 65025.
inline uint8_t Lighten(int c, int, const PresetSliders& p) {
  return uint8_t(c + c * (255 - c) * p.P1() / 65025);
}
// P1 = 128 straight; above, toward white by (P1 - 128) / 127; below, scaled by P1 / 128.
inline uint8_t Brightness(int c, int, const PresetSliders& p) {
  const int b = p.P1();
  return uint8_t(b >= 128 ? c + (255 - c) * (b - 128) / 127 : c * b / 128);
}
// Start..End stretched to 0..Limit (P1, P2, P3); below Start 0, from End on Limit;
// End <= Start is a threshold: c > Start ? Limit : 0.
inline uint8_t Equalizer(int c, int, const PresetSliders& p) {
  const int start = p.P1(), end = p.P2(), limit = p.P3();
  if (end <= start) return uint8_t(c > start ? limit : 0);
  if (c <= start) return 0;
  if (c >= end) return uint8_t(limit);
  return uint8_t((c - start) * limit / (end - start));
}

}  // namespace quillo::colour_pack
