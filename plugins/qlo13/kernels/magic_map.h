// The magic patterns: eleven ways of folding a picture into spirals, rings,
// tunnels, mirrored quarters and stars, each a map from output pixel to
// texture pixel. A frame scrolls the texture under the map exactly as the
// tunnels do (animation::DrawMappedFrame), so all the work is in building
// the map once per pattern or setting.
//
// For memory row i and column j: cx = W div 2, cy = H div 2, dx = j - cx,
// dy = i - cy, d = trunc(sqrt(dx^2 + dy^2)), R = trunc(sqrt(W^2 + H^2) / 2),
// Ang the disco lights' angle (1024 units a turn), Cs(a, r) =
// trunc(cos(a 2 pi / 1024) r), Sn likewise with sin; |x| mod M is the
// remainder of the absolute value, other remainders are C's (the sign of
// the dividend). Each pattern gives (u, v); a negative result is raised by
// W (resp. H) until it is not.
//  0  u = (|Ang + 256| S1) mod W,              v = H - 1 - ((d S2) mod H)
//  1  u = |d S1| mod W (the product in 16 bits), v = |i S2| mod H
//  2  u = (|e| S1) mod W, e = Ang + 256 above the middle row, Ang - 256 from it,
//     v = (i S2) mod H
//  3  a = Ang S1: u = |cx - Cs(a, d)| mod W,     v = H - 1 - (|cy - Sn(a, d)| mod H)
//  4  t = (Ang S1) mod Ang(cx, cy), r = (d - S2 S3) mod R; u and v as in 3 with (t, r)
//  5  t as in 4, r = (S3 (d - S3)) mod R: u = |cx - Cs(t, r)| mod W, v = |cy - Sn(t, r)| mod H
//  6  k = S1 ? W S1 / 255 : 1, g = 1 where d = k else d - k:
//     u = |(j mod g) S2| mod W, v = |(i mod g) S2| mod H
//  7  c = S1 ? trunc(sqrt(R)) S1 50 / 255 : 1, q = trunc(sqrt(max(d, 1))); as 3 with
//     angle Ang and radius c q
//  8  e = S1 ? S1 (W div 4) 50 / 255 - W div 4 : 1, h likewise from S2 and H; l = W div 2
//     - j left of W div 4, 3 (W div 2) - j right of 3 (W div 4), else j; m likewise for
//     rows: u = |W + e + l| mod W, v = |H + h + m| mod H
//  9  a = Ang + 512, f = 2^(((9 S1 + 1143) / 255) and 31), r = a mod f, g = ((S2 + 127)
//     1024) / 255 - 512 + (r when r < a mod 2f, else f - r): u = |cx - Cs(g, d)| mod W,
//     v = |cy - Sn(g, d)| mod H
//  10 e = S1 trunc(sqrt(W)) 50 / 255, g = S1 trunc(sqrt(H)) 50 / 255 (each 1 when S1 =
//     0), sq(x) = trunc(sqrt(x)) for x > 0 else 1: u = |e |dx| / sq(|dy|)| mod W,
//     v = H - 1 - (|g |dy| / sq(|dx|)| mod H)
// Patterns 4 and 5 divide by Ang(cx, cy) and R: where either is 0 (a
// picture one row high, one so wide that the angle rounds to 0, or a single
// pixel) that remainder is skipped.
#pragma once
#include <cstdint>

#include "plugins/animation/kernels/texture_map.h"

namespace quillo::qlo13 {

constexpr int kMagicModes = 11;

// A pattern's slider ranges, how many sliders it uses and its first
// settings.
struct MagicModeRow {
  int low[3], high[3];
  int slidersInUse;
  int defaults[3];
};
extern const MagicModeRow kMagicModeTable[kMagicModes];

struct MagicSettings {
  int mode = 2;
  int s1 = 3, s2 = 2, s3 = 0;
};

// The (u, v) of memory row i, column j of a W x H picture (both positive),
// each inside the picture.
struct MagicTexel {
  int u = 0, v = 0;
};
MagicTexel MagicPatternAt(const MagicSettings& settings, int width, int height, int i, int j);

// Fills width x height entries of `map` (memory row i, column j at
// i x width + j); a mode outside 0 .. 10 counts as 2. Sizes must be 1 ..
// 32767 on both sides (what a map entry holds); nothing is written
// otherwise. `progress`, when given, hears the rows done so far.
void BuildMagicMap(const MagicSettings& settings, int width, int height, animation::MapEntry* map,
                   void (*progress)(void* context, int rowsDone) = nullptr, void* context = nullptr);

}  // namespace quillo::qlo13
