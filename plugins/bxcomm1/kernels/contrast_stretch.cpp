#include "contrast_stretch.h"

#include <algorithm>
#include <cmath>

#include "hsv_stretch.h"
#include "imaging/basics/effect_area.h"
#include "pass_rows.h"

namespace quillo {

namespace {

// The complementary colours of a pixel less their common black, as bytes
// (cyan, magenta, yellow), and that black.
void Complement(const uint8_t* p, uint8_t cmy[3], int* black) {
  const int cy = 255 - p[2], mg = 255 - p[1], ye = 255 - p[0];
  const int k = std::min({cy, mg, ye});
  cmy[0] = uint8_t(cy - k);
  cmy[1] = uint8_t(mg - k);
  cmy[2] = uint8_t(ye - k);
  *black = k;
}

// Each channel's smallest and largest byte over the area. Sixteen pixels
// are 48 bytes whose byte i is channel i % 3, so whole groups are folded
// into 48 running extremes (a loop the vectoriser takes) and split by
// channel at the end.
constexpr int kGroupBytes = 48;

void FoldGroups(const uint8_t* __restrict in, int groups, uint8_t* __restrict lo, uint8_t* __restrict hi) {
  for (int g = 0; g < groups; ++g, in += kGroupBytes)
    for (int j = 0; j < kGroupBytes; ++j) {
      const uint8_t v = in[j], low = lo[j], high = hi[j];
      lo[j] = std::min(low, v), hi[j] = std::max(high, v);
    }
}

void ChannelExtremes(const PixelPass& pass, int lo[3], int hi[3]) {
  uint8_t groupLo[kGroupBytes], groupHi[kGroupBytes];
  std::fill_n(groupLo, kGroupBytes, uint8_t(255));
  std::fill_n(groupHi, kGroupBytes, uint8_t(0));
  ForEachPassRow(pass, pass.rowBegin, pass.rowEnd, [&](const uint8_t* in, uint8_t*, int count) {
    const int bytes = count * 3, groups = bytes / kGroupBytes;
    FoldGroups(in, groups, groupLo, groupHi);
    for (int i = groups * kGroupBytes; i < bytes; ++i) {
      const int c = i % 3;
      lo[c] = std::min<int>(lo[c], in[i]), hi[c] = std::max<int>(hi[c], in[i]);
    }
  });
  for (int j = 0; j < kGroupBytes; ++j) {
    lo[j % 3] = std::min<int>(lo[j % 3], groupLo[j]);
    hi[j % 3] = std::max<int>(hi[j % 3], groupHi[j]);
  }
}

}  // namespace

void ContrastStretch::Measure(const PixelPass& pass) {
  range_ = {};
  if (method_ == StretchMethod::kPerChannel) {
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    ChannelExtremes(pass, lo, hi);
    for (int c = 0; c < 3; ++c) {
      std::fill_n(table_[c], 256, uint8_t(0));
      if (lo[c] > hi[c]) continue;  // an empty area
      for (int v = lo[c]; v <= hi[c]; ++v)
        table_[c][v] = lo[c] == hi[c] ? uint8_t(v) : uint8_t(MulDivRound(255, v - lo[c], hi[c] - lo[c]));
    }
    return;
  }
  HsvExtremes extremes;
  const bool complementary = method_ == StretchMethod::kComplementary;
  ForEachPassRow(pass, pass.rowBegin, pass.rowEnd, [&](const uint8_t* in, uint8_t*, int count) {
    if (complementary)
      extremes.AddComplementRow(in, count);
    else
      extremes.AddRow(in, count);
  });
  range_ = extremes.Range();
}

void ContrastStretch::Write(const PixelPass& pass) const {
  if (method_ == StretchMethod::kPerChannel) {
    const uint8_t *t0 = table_[0], *t1 = table_[1], *t2 = table_[2];
    ForEachPassRow(pass, pass.rowBegin, pass.rowEnd, [&](const uint8_t* in, uint8_t* out, int count) {
      for (int x = 0; x < count; ++x, in += 3, out += 3) {
        const uint8_t b0 = in[0], b1 = in[1], b2 = in[2];
        out[0] = t0[b0], out[1] = t1[b1], out[2] = t2[b2];
      }
    });
    return;
  }
  const HsvStretcher stretcher(range_);
  if (method_ == StretchMethod::kSaturationValue) {
    ForEachPassRow(pass, pass.rowBegin, pass.rowEnd,
                   [&](const uint8_t* in, uint8_t* out, int count) { stretcher.StretchRow(in, out, count); });
    return;
  }
  ForEachPassRow(pass, pass.rowBegin, pass.rowEnd, [&](const uint8_t* in, uint8_t* out, int count) {
    for (int x = 0; x < count; ++x, in += 3, out += 3) {
      uint8_t cmy[3];
      int k;
      Complement(in, cmy, &k);
      imaging::Hsv c = stretcher.Stretched(cmy);
      c.s = std::clamp(c.s, 0.0, 1.0);
      double unit[3];
      HsvStretcher::ToUnit(c, unit);
      const double cy = std::min(255.0, unit[0] * 255 + k), mg = std::min(255.0, unit[1] * 255 + k),
                   ye = std::min(255.0, unit[2] * 255 + k);
      out[2] = uint8_t(std::clamp(std::trunc(255 - cy), 0.0, 255.0));
      out[1] = uint8_t(std::clamp(std::trunc(255 - mg), 0.0, 255.0));
      out[0] = uint8_t(std::clamp(std::trunc(255 - ye), 0.0, 255.0));
    }
  });
}

}  // namespace quillo
