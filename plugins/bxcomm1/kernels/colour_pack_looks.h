// Colour pack: colour looks that read the whole pixel (tints, maps, keys,
// scatter by colour). Results are written (byte 0, byte 1, byte 2).
#pragma once
#include <cstdlib>

#include "colour_pack_math.h"

namespace quillo::colour_pack {

// Y mapped onto a ramp from colour 1 (red P1, green P2, blue P3) at black to
// colour 2 (P4, P5, P6) at white: byte 2 = P1 + (P4 - P1) x Y / 255, and so on.
inline Bgr Gradient(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  auto ramp = [&](int from, int to) { return uint8_t(from + (to - from) * y / 255); };
  return {ramp(p.P3(), p.P6()), ramp(p.P2(), p.P5()), ramp(p.P1(), p.P4())};
}
// byte 0 -> clamp(P3 x (P3 - b2 - b1 + 255) / 255 + (255 - P3) x b0 / 255),
// byte 1 likewise with P2 and b0, b2; byte 2 with P1 and b0, b1.
inline Bgr Neon(Bgr s, const PresetSliders& p) {
  auto glow = [](int q, int own, int other1, int other2) {
    return Clamp255(q * (q - other1 - other2 + 255) / 255 + (255 - q) * own / 255);
  };
  return {glow(p.P3(), s.b0, s.b2, s.b1), glow(p.P2(), s.b1, s.b0, s.b2),
          glow(p.P1(), s.b2, s.b0, s.b1)};
}
// (clamp(2 b0 - b1 - b2), clamp(2 b1 - b0 - b2), clamp(2 b2 - b0 - b1))
inline Bgr RgbDifference(Bgr s, const PresetSliders&) {
  return {Clamp255(2 * s.b0 - s.b1 - s.b2), Clamp255(2 * s.b1 - s.b0 - s.b2),
          Clamp255(2 * s.b2 - s.b0 - s.b1)};
}
// Colours within P4 of the key colour (red P1, green P2, blue P3, largest
// channel difference) turn white; others are kept.
inline Bgr Remove(Bgr s, const PresetSliders& p) {
  const int d =
      std::max({std::abs(s.b2 - p.P1()), std::abs(s.b1 - p.P2()), std::abs(s.b0 - p.P3())});
  return d <= p.P4() ? Grey(255) : s;
}
// Colour pushed away from grey: each c -> clamp(c + (c - Y) x P1 / 64).
inline Bgr ColorRaise(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  auto raise = [&](int c) { return Clamp255(c + (c - y) * p.P1() / 64); };
  return {raise(s.b0), raise(s.b1), raise(s.b2)};
}
// A colour added in proportion to lightness: each c -> cap(c + P(c) x Y / 255).
inline Bgr AddColor(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  return {Cap255(s.b0 + p.P3() * y / 255), Cap255(s.b1 + p.P2() * y / 255),
          Cap255(s.b2 + p.P1() * y / 255)};
}
// One hue for the whole picture, each pixel keeping its lightness and colour
// strength: s = max - min, each c -> clamp(Y + (P(c) - 128) x s / 128).
inline Bgr Monotonic(Bgr s, const PresetSliders& p) {
  const int y = Luma(s), strength = MaxByte(s) - MinByte(s);
  auto tint = [&](int q) { return Clamp255(y + (q - 128) * strength / 128); };
  return {tint(p.P3()), tint(p.P2()), tint(p.P1())};
}
// Split toning at Y = P1: from there up warmer, (floor0(b0 - P2 / 2), b1, cap(b2 + P2 / 2));
// below cooler, (cap(b0 + P3 / 2), b1, floor0(b2 - P3 / 2)).
inline Bgr Dual(Bgr s, const PresetSliders& p) {
  if (Luma(s) >= p.P1()) return {Floor0(s.b0 - p.P2() / 2), s.b1, Cap255(s.b2 + p.P2() / 2)};
  return {Cap255(s.b0 + p.P3() / 2), s.b1, Floor0(s.b2 - p.P3() / 2)};
}
// About P1 / 256 of all colours dissolve to white, chosen by the colour's
// hash (bits 0..7 below P1), so the same colour always dissolves alike.
inline Bgr Dissolve(Bgr s, const PresetSliders& p) {
  return int(PixelHash(s) & 255) < p.P1() ? Grey(255) : s;
}
// Glints: colours brighter than Y = P1 whose hash bits 8..15 fall below P2
// (the density) flash white.
inline Bgr Glitter(Bgr s, const PresetSliders& p) {
  return Luma(s) > p.P1() && int((PixelHash(s) >> 8) & 255) < p.P2() ? Grey(255) : s;
}
// Sepia toning by P1, then aged toward paper (red 235, green 220, blue 180) by P2:
// sepia red = cap((101 r + 197 g + 48 b) >> 8), green (89, 176, 43), blue (70, 137, 34);
// c1 = c + (sepia - c) x P1 / 255, result c1 + (paper - c1) x P2 / 255.
inline Bgr OldPhotos(Bgr s, const PresetSliders& p) {
  const int r = s.b2, g = s.b1, b = s.b0;
  auto age = [&](int c, int sepia, int paper) {
    const int toned = c + (sepia - c) * p.P1() / 255;
    return uint8_t(toned + (paper - toned) * p.P2() / 255);
  };
  return {age(b, Cap255((70 * r + 137 * g + 34 * b) >> 8), 180),
          age(g, Cap255((89 * r + 176 * g + 43 * b) >> 8), 220),
          age(r, Cap255((101 * r + 197 * g + 48 * b) >> 8), 235)};
}
// The grey part removed and the colour left glowing on black:
// each c -> cap((c - min) x (64 + P1) / 64).
inline Bgr Fluorescent(Bgr s, const PresetSliders& p) {
  const int lo = MinByte(s);
  auto glow = [&](int c) { return Cap255((c - lo) * (64 + p.P1()) / 64); };
  return {glow(s.b0), glow(s.b1), glow(s.b2)};
}
// Grey tinted with hue P1 (0..255 round the colour wheel from red) by P2:
// each c -> clamp(Y + (hue c - 128) x P2 / 255).
inline Bgr Colorize2(Bgr s, const PresetSliders& p) {
  const int h6 = p.P1() * 6, f = h6 & 255;
  int r = 0, g = 0, b = 0;
  switch (h6 >> 8) {
    case 0:
      r = 255, g = f;
      break;
    case 1:
      r = 255 - f, g = 255;
      break;
    case 2:
      g = 255, b = f;
      break;
    case 3:
      g = 255 - f, b = 255;
      break;
    case 4:
      r = f, b = 255;
      break;
    default:
      r = 255, b = 255 - f;
      break;
  }
  const int y = Luma(s);
  auto tint = [&](int hue) { return Clamp255(y + (hue - 128) * p.P2() / 255); };
  return {tint(b), tint(g), tint(r)};
}
// (0, clamp(b1 + P1 - 128), 255)
inline Bgr Fire(Bgr s, const PresetSliders& p) { return {0, Clamp255(s.b1 + p.P1() - 128), 255}; }
// (P3, clamp(b1 + P2 - 127), clamp(b2 + P1 - 127))
inline Bgr Worm(Bgr s, const PresetSliders& p) {
  return {uint8_t(p.P3()), Clamp255(s.b1 + p.P2() - 127), Clamp255(s.b2 + p.P1() - 127)};
}
// Each colour's excess over its bias bleeds into the other two:
// e = floor0(c - bias) x gain / 255 (red P1, P2; green P3, P4; blue P5, P6),
// each c -> cap(c + the other two colours' e).
inline Bgr Bleed(Bgr s, const PresetSliders& p) {
  const int er = Floor0(s.b2 - p.P1()) * p.P2() / 255;
  const int eg = Floor0(s.b1 - p.P3()) * p.P4() / 255;
  const int eb = Floor0(s.b0 - p.P5()) * p.P6() / 255;
  return {Cap255(s.b0 + er + eg), Cap255(s.b1 + er + eb), Cap255(s.b2 + eg + eb)};
}
// Lightness from weights red P1, green P2, blue P3 (256ths), moved by P4 - 128,
// with the colour (c - Y) scaled by P5 / 64:
// I = ((P1 b2 + P2 b1 + P3 b0) >> 8) + P4 - 128, each c -> clamp(I + (c - Y) x P5 / 64).
inline Bgr YuvIntensity(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  const int i = ((p.P1() * s.b2 + p.P2() * s.b1 + p.P3() * s.b0) >> 8) + p.P4() - 128;
  auto colour = [&](int c) { return Clamp255(i + (c - y) * p.P5() / 64); };
  return {colour(s.b0), colour(s.b1), colour(s.b2)};
}

}  // namespace quillo::colour_pack
