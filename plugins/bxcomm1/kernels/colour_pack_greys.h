// Colour pack: greys, thresholds and curves driven by the pixel's luma Y.
#pragma once
#include <cstdint>

#include "colour_pack_math.h"

namespace quillo::colour_pack {

// all three = Y
inline Bgr Gray(Bgr s, const PresetSliders&) { return Grey(Luma(s)); }
// all three = (b0 + b1 + b2) / 3
inline Bgr Desaturate(Bgr s, const PresetSliders&) { return Grey((s.b0 + s.b1 + s.b2) / 3); }
// all three = max(b0, b1, b2)
inline Bgr MaxRgb(Bgr s, const PresetSliders&) { return Grey(MaxByte(s)); }
// all three = min(b0, b1, b2)
inline Bgr MinRgb(Bgr s, const PresetSliders&) { return Grey(MinByte(s)); }
// all three = cap((P1 b2 + P2 b1 + P3 b0) >> 8): red, green, blue weights in 256ths.
inline Bgr CustomGray(Bgr s, const PresetSliders& p) {
  return Grey(Cap255((p.P1() * s.b2 + p.P2() * s.b1 + p.P3() * s.b0) >> 8));
}
// (cap((P3 Y) >> 7), cap((P2 Y) >> 7), cap((P1 Y) >> 7)): a product of 32768 or more is 255.
inline Bgr ColorGray(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  return {Cap255((p.P3() * y) >> 7), Cap255((p.P2() * y) >> 7), Cap255((p.P1() * y) >> 7)};
}
// the source pixel when Y > P1, otherwise (0, 0, 0)
inline Bgr Darken(Bgr s, const PresetSliders& p) { return Luma(s) > p.P1() ? s : Bgr{}; }
// all three = Y when Y >= P1, otherwise 0
inline Bgr Darken2(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  return Grey(y >= p.P1() ? y : 0);
}
// Dark pixels lifted most, colour kept: a = (255 - Y) x P1 / 510, each c -> cap(c + a).
inline Bgr LightenSmooth(Bgr s, const PresetSliders& p) {
  const int a = (255 - Luma(s)) * p.P1() / 510;
  return {Cap255(s.b0 + a), Cap255(s.b1 + a), Cap255(s.b2 + a)};
}
// all three = 255 when Y >= P1, else 0
inline Bgr Mono(Bgr s, const PresetSliders& p) { return Grey(Luma(s) >= p.P1() ? 255 : 0); }
// all three = clamp((P2 - Y) x (P1 - Y))
inline Bgr Cut(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  return Grey(Clamp255((p.P2() - y) * (p.P1() - y)));
}
// all three = (P1 + (P2 AND Y) + Y) AND Y, bitwise
inline Bgr Metal(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  return Grey((p.P1() + (p.P2() & y) + y) & y);
}
// Grey folded back at white: t = Y x (P1 + 64) / 64, v = t mod 510, all three = v > 255 ? 510 - v :
// v.
inline Bgr Chrome(Bgr s, const PresetSliders& p) {
  const int v = Luma(s) * (p.P1() + 64) / 64 % 510;
  return Grey(v > 255 ? 510 - v : v);
}
// a = (b2 x b1 x b0) >> 9: (cap(a / (256 - P3)), cap(a / (256 - P2)), cap(a / (256 - P1)))
inline Bgr Chrome2(Bgr s, const PresetSliders& p) {
  const int a = (s.b2 * s.b1 * s.b0) >> 9;
  return {Cap255(a / (256 - p.P3())), Cap255(a / (256 - p.P2())), Cap255(a / (256 - p.P1()))};
}
// all three = clamp((Y - P1) x (Y - 128)^3), in 64 bits
inline Bgr Edge(Bgr s, const PresetSliders& p) {
  const int64_t y = Luma(s), d = y - 128;
  return Grey(Clamp255((y - p.P1()) * d * d * d));
}
// m = Y, or 1 when Y is 0: each c -> cap(c + P1 mod m)
inline Bgr Depth(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  const int add = p.P1() % (y == 0 ? 1 : y);
  return {Cap255(s.b0 + add), Cap255(s.b1 + add), Cap255(s.b2 + add)};
}
// all three = clamp(P1 x (Y - P1))
inline Bgr Digitize2(Bgr s, const PresetSliders& p) {
  return Grey(Clamp255(p.P1() * (Luma(s) - p.P1())));
}
// Black lines where Y crosses bands of step = 2 + P1 / 4, each line P2 / 255 of a band
// ((Y mod step) x 255 < P2 x step); elsewhere the source pixel.
inline Bgr Contour(Bgr s, const PresetSliders& p) {
  const int step = 2 + p.P1() / 4;
  return (Luma(s) % step) * 255 < p.P2() * step ? Bgr{} : s;
}
// The greys within P2 of centre P1 stretched to full range, colour kept:
// lo = P1 - P2 / 2, Y' = clamp((Y - lo) x 255 / max(P2, 1)), each c -> clamp(c + Y' - Y).
inline Bgr GrayWidthContrast(Bgr s, const PresetSliders& p) {
  const int y = Luma(s), lo = p.P1() - p.P2() / 2;
  const int shift = Clamp255((y - lo) * 255 / std::max(p.P2(), 1)) - y;
  return {Clamp255(s.b0 + shift), Clamp255(s.b1 + shift), Clamp255(s.b2 + shift)};
}
// Toward grey: each c -> c + (Y - c) x P1 / 255.
inline Bgr Decolorize(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  auto fade = [&](int c) { return uint8_t(c + (y - c) * p.P1() / 255); };
  return {fade(s.b0), fade(s.b1), fade(s.b2)};
}
// Weak colours to grey, strong ones kept: all three = Y when max - min < P1, else the source.
inline Bgr Decolorize2(Bgr s, const PresetSliders& p) {
  return MaxByte(s) - MinByte(s) < p.P1() ? Grey(Luma(s)) : s;
}
// Flat shading: n = 2 + P1 / 32 bands, Yq = ((Y x n) >> 8) x 255 / (n - 1),
// each c -> cap(c x Yq / max(Y, 1)), so the colour keeps its hue at its band's lightness.
inline Bgr Cartoon(Bgr s, const PresetSliders& p) {
  const int y = Luma(s), n = 2 + p.P1() / 32;
  const int yq = ((y * n) >> 8) * 255 / (n - 1);
  const int div = std::max(y, 1);
  return {Cap255(s.b0 * yq / div), Cap255(s.b1 * yq / div), Cap255(s.b2 * yq / div)};
}

}  // namespace quillo::colour_pack
