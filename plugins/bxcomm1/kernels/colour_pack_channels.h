// Colour pack: channel picks, swaps, casts, blasts, channel transfers and
// channel mixes. Results are written (byte 0, byte 1, byte 2).
#pragma once
#include "colour_pack_math.h"

namespace quillo::colour_pack {

// (0, 0, b2)
inline Bgr RedChannel(Bgr s, const PresetSliders&) { return {0, 0, s.b2}; }
// (0, b1, 0)
inline Bgr GreenChannel(Bgr s, const PresetSliders&) { return {0, s.b1, 0}; }
// (b0, 0, 0)
inline Bgr BlueChannel(Bgr s, const PresetSliders&) { return {s.b0, 0, 0}; }

// (b2, b1, b0)
inline Bgr SwapRedBlue(Bgr s, const PresetSliders&) { return {s.b2, s.b1, s.b0}; }
// (b0, b2, b1)
inline Bgr SwapRedGreen(Bgr s, const PresetSliders&) { return {s.b0, s.b2, s.b1}; }
// (b1, b0, b2)
inline Bgr SwapGreenBlue(Bgr s, const PresetSliders&) { return {s.b1, s.b0, s.b2}; }
// (b2, b0, b1)
inline Bgr SwapRgbToGbr(Bgr s, const PresetSliders&) { return {s.b2, s.b0, s.b1}; }
// (b1, b2, b0)
inline Bgr SwapRgbToBrg(Bgr s, const PresetSliders&) { return {s.b1, s.b2, s.b0}; }

// The strongest and weakest bytes trade values (first of equals), each byte
// then c + (swapped - c) x P1 / 255: an inverted hue at the same lightness.
inline Bgr SwapStrongestWeakest(Bgr s, const PresetSliders& p) {
  int v[3] = {s.b0, s.b1, s.b2};
  int hi = 0, lo = 0;
  for (int k = 1; k < 3; ++k) {
    if (v[k] > v[hi]) hi = k;
    if (v[k] < v[lo]) lo = k;
  }
  int swapped[3] = {v[0], v[1], v[2]};
  swapped[hi] = v[lo];
  swapped[lo] = v[hi];
  for (int k = 0; k < 3; ++k) v[k] += (swapped[k] - v[k]) * p.P1() / 255;
  return {uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2])};
}

// (cap(b0 + P1), b1, b2)
inline uint8_t BlueCast(int c, int k, const PresetSliders& p) {
  return k == 0 ? Cap255(c + p.P1()) : uint8_t(c);
}
// (b0, b1, cap(b2 + P1))
inline uint8_t RedCast(int c, int k, const PresetSliders& p) {
  return k == 2 ? Cap255(c + p.P1()) : uint8_t(c);
}
// (b0, cap(b1 + P1 / 2), b2)
inline uint8_t GreenCast(int c, int k, const PresetSliders& p) {
  return k == 1 ? Cap255(c + p.P1() / 2) : uint8_t(c);
}
// (b0, cap(b1 + P1 / 2), cap(b2 + P1 / 2))
inline uint8_t YellowCast(int c, int k, const PresetSliders& p) {
  return k != 0 ? Cap255(c + p.P1() / 2) : uint8_t(c);
}
// (cap(b0 + P1 / 3), cap(b1 + P1 / 3), b2)
inline uint8_t CyanCast(int c, int k, const PresetSliders& p) {
  return k != 2 ? Cap255(c + p.P1() / 3) : uint8_t(c);
}
// (cap(b0 + P1 / 2), b1, cap(b2 + P1 / 2))
inline uint8_t MagentaCast(int c, int k, const PresetSliders& p) {
  return k != 1 ? Cap255(c + p.P1() / 2) : uint8_t(c);
}

// (b2, floor0(b2 - P1), floor0(b2 - P1))
inline Bgr BlueBlast(Bgr s, const PresetSliders& p) {
  const uint8_t d = Floor0(s.b2 - p.P1());
  return {s.b2, d, d};
}
// (cap(b0 + P1), Y, Y)
inline Bgr BlueBlast2(Bgr s, const PresetSliders& p) {
  const uint8_t y = uint8_t(Luma(s));
  return {Cap255(s.b0 + p.P1()), y, y};
}
// (floor0(b1 - P1), b1, floor0(b1 - P1))
inline Bgr GreenBlast(Bgr s, const PresetSliders& p) {
  const uint8_t d = Floor0(s.b1 - p.P1());
  return {d, s.b1, d};
}
// (Y, cap(b1 + P1 / 2), Y)
inline Bgr GreenBlast2(Bgr s, const PresetSliders& p) {
  const uint8_t y = uint8_t(Luma(s));
  return {y, Cap255(s.b1 + p.P1() / 2), y};
}
// (b2, b2, cap(b2 + P1))
inline Bgr RedBlast(Bgr s, const PresetSliders& p) { return {s.b2, s.b2, Cap255(s.b2 + p.P1())}; }
// (Y, Y, cap(b2 + P1))
inline Bgr RedBlast2(Bgr s, const PresetSliders& p) {
  const uint8_t y = uint8_t(Luma(s));
  return {y, y, Cap255(s.b2 + p.P1())};
}
// (Y, floor0(b1 - P1), Y)
inline Bgr MagentaBlast(Bgr s, const PresetSliders& p) {
  const uint8_t y = uint8_t(Luma(s));
  return {y, Floor0(s.b1 - p.P1()), y};
}
// (cap(b2 + P1 / 2), b1, cap(b2 + P1 / 2))
inline Bgr MagentaBlast2(Bgr s, const PresetSliders& p) {
  const uint8_t v = Cap255(s.b2 + p.P1() / 2);
  return {v, s.b1, v};
}
// (floor0(Y - P1), Y, Y)
inline Bgr YellowBlast(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  return {Floor0(y - p.P1()), uint8_t(y), uint8_t(y)};
}
// (b0, cap(b0 + P1 / 2), cap(b0 + P1 / 2))
inline Bgr YellowBlast2(Bgr s, const PresetSliders& p) {
  const uint8_t v = Cap255(s.b0 + p.P1() / 2);
  return {s.b0, v, v};
}
// (Y, Y, floor0(b0 - P1))
inline Bgr CyanBlast(Bgr s, const PresetSliders& p) {
  const uint8_t y = uint8_t(Luma(s));
  return {y, y, Floor0(s.b0 - p.P1())};
}
// (cap(b2 + P1 / 3), cap(b2 + P1 / 3), b0)
inline Bgr CyanBlast2(Bgr s, const PresetSliders& p) {
  const uint8_t v = Cap255(s.b2 + p.P1() / 3);
  return {v, v, s.b0};
}

// Light areas take a cast, dark areas a background colour, per channel:
// red = cap(Y x P1 / 128 + P2 x (255 - Y) / 255), green with P3, P4,
// blue with P5, P6.
inline Bgr MonoBlast(Bgr s, const PresetSliders& p) {
  const int y = Luma(s);
  auto tone = [&](int cast, int background) {
    return Cap255(y * cast / 128 + background * (255 - y) / 255);
  };
  return {tone(p.P5(), p.P6()), tone(p.P3(), p.P4()), tone(p.P1(), p.P2())};
}
// Grey Y, except the strongest byte(s): cap(Y + P1).
inline Bgr MonoBlast2(Bgr s, const PresetSliders& p) {
  const int y = Luma(s), hi = MaxByte(s);
  auto pick = [&](int c) { return c == hi ? Cap255(y + p.P1()) : uint8_t(y); };
  return {pick(s.b0), pick(s.b1), pick(s.b2)};
}

// byte 0 -> clamp(b1 - P1 + 128)
inline Bgr BlueToGreen(Bgr s, const PresetSliders& p) {
  return {Clamp255(s.b1 - p.P1() + 128), s.b1, s.b2};
}
// byte 0 -> clamp(b2 - P1 + 128)
inline Bgr BlueToRed(Bgr s, const PresetSliders& p) {
  return {Clamp255(s.b2 - p.P1() + 128), s.b1, s.b2};
}
// byte 1 -> clamp(b0 - P1 + 128)
inline Bgr GreenToBlue(Bgr s, const PresetSliders& p) {
  return {s.b0, Clamp255(s.b0 - p.P1() + 128), s.b2};
}
// byte 1 -> clamp(b2 - P1 + 128)
inline Bgr GreenToRed(Bgr s, const PresetSliders& p) {
  return {s.b0, Clamp255(s.b2 - p.P1() + 128), s.b2};
}
// byte 2 -> clamp(b0 - P1 + 128)
inline Bgr RedToBlue(Bgr s, const PresetSliders& p) {
  return {s.b0, s.b1, Clamp255(s.b0 - p.P1() + 128)};
}
// byte 2 -> clamp(b1 - P1 + 128)
inline Bgr RedToGreen(Bgr s, const PresetSliders& p) {
  return {s.b0, s.b1, Clamp255(s.b1 - p.P1() + 128)};
}

// (clamp(b1 + P3 / 2), clamp(b2 + P2 / 2), clamp(b0 + P1 / 2))
inline Bgr ColorMixed1(Bgr s, const PresetSliders& p) {
  return {Clamp255(s.b1 + p.P3() / 2), Clamp255(s.b2 + p.P2() / 2), Clamp255(s.b0 + p.P1() / 2)};
}
// The other rotation: (clamp(b2 + P3 / 2), clamp(b0 + P2 / 2), clamp(b1 + P1 / 2))
inline Bgr ColorMixed1Back(Bgr s, const PresetSliders& p) {
  return {Clamp255(s.b2 + p.P3() / 2), Clamp255(s.b0 + p.P2() / 2), Clamp255(s.b1 + p.P1() / 2)};
}

// The three mixes below run around the colour circle red -> green -> blue
// -> red: for byte k the next colour is byte (k + 2) % 3, the last one
// byte (k + 1) % 3.
template <typename MixFn>
inline Bgr MixAround(Bgr s, MixFn&& mix) {
  const int v[3] = {s.b0, s.b1, s.b2};
  uint8_t out[3];
  for (int k = 0; k < 3; ++k) out[k] = mix(k, v[k], v[(k + 2) % 3], v[(k + 1) % 3]);
  return {out[0], out[1], out[2]};
}

// Each colour a weighted mean of itself (P1), the next colour (P2) and the
// last one (P3): (P1 c + P2 next + P3 last) / (P1 + P2 + P3); all weights
// 0 copies the pixel.
inline Bgr ColorMixed3Mean(Bgr s, const PresetSliders& p) {
  const int sum = p.P1() + p.P2() + p.P3();
  if (sum == 0) return s;
  return MixAround(s, [&](int, int c, int next, int last) {
    return uint8_t((p.P1() * c + p.P2() * next + p.P3() * last) / sum);
  });
}
// clamp(c + (next - last) x P(c) / 128): colours pushed by their neighbours' difference.
inline Bgr ColorMixed3Push(Bgr s, const PresetSliders& p) {
  return MixAround(s, [&](int k, int c, int next, int last) {
    return Clamp255(c + (next - last) * RgbSlider(p, k) / 128);
  });
}
// c + (c x next / 255 - c) x P(c) / 255: each colour multiplied by the next, by P(c).
inline Bgr ColorMixed3Multiply(Bgr s, const PresetSliders& p) {
  return MixAround(s, [&](int k, int c, int next, int) {
    return uint8_t(c + (c * next / 255 - c) * RgbSlider(p, k) / 255);
  });
}
// max(c, next x P(c) / 255): each colour lifted by the next one.
inline Bgr ColorMixed3Lift(Bgr s, const PresetSliders& p) {
  return MixAround(s, [&](int k, int c, int next, int) {
    return uint8_t(std::max(c, next * RgbSlider(p, k) / 255));
  });
}

}  // namespace quillo::colour_pack
