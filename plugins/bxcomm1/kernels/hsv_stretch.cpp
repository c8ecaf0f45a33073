#include "hsv_stretch.h"

#include <algorithm>

namespace quillo {

namespace {

// Where the pair (largest, smallest <= largest) sits in a triangular table.
inline size_t PairIndex(int top, int bottom) { return size_t(top) * size_t(top + 1) / 2 + size_t(bottom); }
constexpr size_t kPairs = 256 * 257 / 2;

// imaging::HsvToBytes's rounding of a fraction to a byte, as a clamp
// (0 at or below 0, 255 at or above 255) the compiler turns into min/max.
inline uint32_t UnitToByte(double value) {
  const double scaled = value * 255.0;
  const double below = scaled < 255.0 ? scaled : 255.0;
  return uint32_t(int(below > 0.0 ? below : 0.0));
}

HsvByteTables BuildTables() {
  HsvByteTables t;
  for (int b = 0; b < 256; ++b) t.unit[b] = b / 255.0;
  std::vector<double> saturation(256 * 256, 0.0);
  for (int hi = 0; hi < 256; ++hi)
    for (int lo = 0; lo <= hi; ++lo) {
      const uint8_t pixel[3] = {uint8_t(hi), uint8_t(lo), uint8_t(lo)};
      saturation[size_t(hi) * 256 + size_t(lo)] = imaging::BytesToHsv(pixel).s;
    }
  t.saturationOfRank = saturation;
  std::sort(t.saturationOfRank.begin(), t.saturationOfRank.end());
  t.saturationOfRank.erase(std::unique(t.saturationOfRank.begin(), t.saturationOfRank.end()),
                           t.saturationOfRank.end());
  t.saturationRank.resize(saturation.size());
  for (size_t i = 0; i < saturation.size(); ++i)
    t.saturationRank[i] =
        uint16_t(std::lower_bound(t.saturationOfRank.begin(), t.saturationOfRank.end(), saturation[i]) -
                 t.saturationOfRank.begin());
  return t;
}

// What imaging::BytesToHsv needs for the hue of a pixel: the first channel
// holding the largest byte picks the sector pair (base 0, 2 or 4) and the
// difference of the other two in cyclic order (rise) is divided by the
// spread of the channels.
struct HueTerms {
  double base, rise, spread;
};

inline HueTerms HueTermsOf(const double unit[256], const uint8_t bytes[3], uint8_t top, uint8_t bottom) {
  static constexpr int kNext[3] = {1, 2, 0}, kAfterNext[3] = {2, 0, 1};
  const int notFirst = bytes[0] != top, notSecond = bytes[1] != top;
  const int first = notFirst + (notFirst & notSecond);
  return {double(2 * first), unit[bytes[kNext[first]]] - unit[bytes[kAfterNext[first]]],
          unit[top] - unit[bottom]};
}

// The hue, with only selects between constants so that loops over it
// vectorise. Where it differs from the library's steps it gives the same
// double:
//  - a grey (spread 0, rise 0 too) divides by 1 instead of getting hue 0
//    without dividing: 0 / 1 / 6 is 0 as well;
//  - for the first channel the library adds no base; adding 0 changes
//    nothing, as rise / spread is never -0 (nor is h, for the same reason,
//    so adding 0 where the library adds nothing below is exact too);
//  - rise lies within +-spread, so h is at least -1/6 before the wrap and
//    then below 1 - 1/1530 (a nonzero rise is at least 1/255): the library's
//    "if above 1, less 1" never applies, and 6h stays below 6.
inline double HueOf(const HueTerms& terms) {
  const double spread = terms.spread == 0.0 ? 1.0 : terms.spread;
  const double h = (terms.base + terms.rise / spread) / 6.0;
  return h + (h < 0.0 ? 1.0 : 0.0);
}

// imaging::HsvToUnit's sector of a hue below 1 and its v, p, q, t.
struct SectorValues {
  int sector;
  double v, p, q, t;
};

inline SectorValues SectorValuesOf(const imaging::Hsv& c) {
  const double h6 = c.h * 6.0;
  const int sector = int(h6);
  const double f = h6 - sector, v = c.v, s = c.s;
  return {sector, v, v * (1.0 - s), v * (1.0 - s * f), v * (1.0 - s * (1.0 - f))};
}

// Where each sector puts v, p, q and t (0..3) in the three channels.
constexpr uint8_t kSectorOrder[6][3] = {{0, 3, 1}, {2, 0, 1}, {1, 0, 3}, {1, 2, 0}, {3, 1, 0}, {0, 1, 2}};

// StretchRow goes through a row in runs: per pixel, the byte work and the
// look-ups; then the double arithmetic as a loop the vectoriser does two
// pixels at a time; then per pixel the bytes put in the sector's order.
constexpr int kRun = 64;

struct StretchRun {
  HueTerms hue[kRun];
  double s[kRun], v[kRun];
  int sector[kRun];
  uint32_t vpqt[kRun];  // the four bytes, v lowest
};

}  // namespace

const HsvByteTables& HsvByteTables::Get() {
  static const HsvByteTables tables = BuildTables();
  return tables;
}

template <bool kComplement>
void HsvExtremes::Add(const uint8_t* pixels, int count) {
  const uint16_t* rankOf = tables_.saturationRank.data();
  int valueLow = valueLow_, valueHigh = valueHigh_, rankLow = rankLow_, rankHigh = rankHigh_;
  for (int x = 0; x < count; ++x, pixels += 3) {
    int top = std::max({pixels[0], pixels[1], pixels[2]}),
        bottom = std::min({pixels[0], pixels[1], pixels[2]});
    if (kComplement) top -= bottom, bottom = 0;
    const int rank = rankOf[size_t(top) * 256 + size_t(bottom)];
    valueLow = std::min(valueLow, top), valueHigh = std::max(valueHigh, top);
    rankLow = std::min(rankLow, rank), rankHigh = std::max(rankHigh, rank);
  }
  valueLow_ = valueLow, valueHigh_ = valueHigh, rankLow_ = rankLow, rankHigh_ = rankHigh;
}

void HsvExtremes::AddRow(const uint8_t* pixels, int count) { Add<false>(pixels, count); }
void HsvExtremes::AddComplementRow(const uint8_t* pixels, int count) { Add<true>(pixels, count); }

imaging::HsvRange HsvExtremes::Range() const {
  imaging::HsvRange range;
  if (valueHigh_ < 0) return range;
  range.sMin = tables_.saturationOfRank[size_t(rankLow_)];
  range.sMax = tables_.saturationOfRank[size_t(rankHigh_)];
  range.vMin = tables_.unit[valueLow_];
  range.vMax = tables_.unit[valueHigh_];
  return range;
}

HsvStretcher::HsvStretcher(const imaging::HsvRange& range)
    : tables_(HsvByteTables::Get()), range_(range), saturation_(kPairs) {
  for (int top = 0; top < 256; ++top) {
    imaging::Hsv c;
    for (int bottom = 0; bottom <= top; ++bottom) {
      const uint8_t pixel[3] = {uint8_t(top), uint8_t(bottom), uint8_t(bottom)};
      c = imaging::BytesToHsv(pixel);
      range_.Stretch(c);
      saturation_[PairIndex(top, bottom)] = c.s;
    }
    value_[top] = c.v;  // the same for every smallest byte
  }
}

imaging::Hsv HsvStretcher::Stretched(const uint8_t bytes[3]) const {
  const uint8_t top = std::max({bytes[0], bytes[1], bytes[2]});
  const uint8_t bottom = std::min({bytes[0], bytes[1], bytes[2]});
  imaging::Hsv c;
  c.h = HueOf(HueTermsOf(tables_.unit, bytes, top, bottom));
  c.s = saturation_[PairIndex(top, bottom)];
  c.v = value_[top];
  return c;
}

// imaging::HsvToUnit skips the sectors when s is 0, but then p, q and t are
// v anyway. Its wrap of 6h at 6 is not needed for hues from Stretched.
void HsvStretcher::ToUnit(const imaging::Hsv& c, double unit[3]) {
  const SectorValues sv = SectorValuesOf(c);
  const double values[4] = {sv.v, sv.p, sv.q, sv.t};
  const uint8_t* order = kSectorOrder[sv.sector];
  unit[0] = values[order[0]], unit[1] = values[order[1]], unit[2] = values[order[2]];
}

void HsvStretcher::StretchRow(const uint8_t* in, uint8_t* out, int count) const {
  StretchRun run;
  for (int start = 0; start < count; start += kRun) {
    const int n = std::min(kRun, count - start);
    const uint8_t* p = in + size_t(start) * 3;
    for (int i = 0; i < n; ++i, p += 3) {
      const uint8_t top = std::max({p[0], p[1], p[2]}), bottom = std::min({p[0], p[1], p[2]});
      run.hue[i] = HueTermsOf(tables_.unit, p, top, bottom);
      run.s[i] = saturation_[PairIndex(top, bottom)];
      run.v[i] = value_[top];
    }
    for (int i = 0; i < n; ++i) {
      imaging::Hsv c;
      c.h = HueOf(run.hue[i]), c.s = run.s[i], c.v = run.v[i];
      const SectorValues sv = SectorValuesOf(c);
      run.sector[i] = sv.sector;
      run.vpqt[i] =
          UnitToByte(sv.v) | UnitToByte(sv.p) << 8 | UnitToByte(sv.q) << 16 | UnitToByte(sv.t) << 24;
    }
    uint8_t* o = out + size_t(start) * 3;
    for (int i = 0; i < n; ++i, o += 3) {
      const uint8_t* order = kSectorOrder[run.sector[i]];
      const uint32_t bytes = run.vpqt[i];
      o[0] = uint8_t(bytes >> (8 * order[0])), o[1] = uint8_t(bytes >> (8 * order[1]));
      o[2] = uint8_t(bytes >> (8 * order[2]));
    }
  }
}

}  // namespace quillo
