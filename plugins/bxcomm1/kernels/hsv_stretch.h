// The saturation-value stretch of imaging/colour_stretch.h for whole rows:
// the same double operations in the same order, so every byte agrees, but
// inline, with few branches, and with everything that depends on only one
// or two bytes of a pixel looked up instead of worked out.
#pragma once
#include <cstdint>
#include <vector>

#include "imaging/colour_stretch.h"

namespace quillo {

// Tables shared by every stretch, built on first use.
struct HsvByteTables {
  double unit[256];  // b / 255.0, the library's channel values
  // For the largest and smallest byte of a pixel, [largest * 256 + smallest]
  // (smallest <= largest): the rank of the pixel's saturation among all such
  // pairs, equal saturations sharing a rank, so comparing ranks compares the
  // saturations exactly.
  std::vector<uint16_t> saturationRank;
  std::vector<double> saturationOfRank;

  static const HsvByteTables& Get();
};

// The extremes of saturation and value over the pixels it is given.
class HsvExtremes {
 public:
  HsvExtremes() : tables_(HsvByteTables::Get()) {}
  void AddRow(const uint8_t* pixels, int count);
  // The same for the complementary colours less their common black, whose
  // largest byte is the pixel's largest less its smallest, the smallest 0.
  void AddComplementRow(const uint8_t* pixels, int count);
  // As imaging::HsvRange::Add would have left it (untouched with no pixels).
  imaging::HsvRange Range() const;

 private:
  template <bool kComplement>
  void Add(const uint8_t* pixels, int count);

  const HsvByteTables& tables_;
  int valueLow_ = 256, valueHigh_ = -1, rankLow_ = 1 << 16, rankHigh_ = -1;
};

// One pixel's hue, saturation and value with a range's stretch applied, and
// the way back.
class HsvStretcher {
 public:
  explicit HsvStretcher(const imaging::HsvRange& range);
  // imaging::BytesToHsv followed by range.Stretch.
  imaging::Hsv Stretched(const uint8_t bytes[3]) const;
  // imaging::HsvToUnit.
  static void ToUnit(const imaging::Hsv& c, double unit[3]);
  // imaging::HsvToBytes of each stretched pixel of a row, in to out.
  void StretchRow(const uint8_t* in, uint8_t* out, int count) const;

 private:
  const HsvByteTables& tables_;
  imaging::HsvRange range_;
  double value_[256];               // the stretched value of each largest byte
  std::vector<double> saturation_;  // the stretched saturation, by PairIndex
};

}  // namespace quillo
