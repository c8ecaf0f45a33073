#include "contrast_stretch.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

void ContrastStretch::Measure(const PixelPass& pass) {
  range_ = {};
  int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
  ForEachPassRow(pass, pass.rowBegin, pass.rowEnd, [&](const uint8_t* in, uint8_t*, int count) {
    for (int x = 0; x < count; ++x, in += 3) {
      switch (method_) {
        case StretchMethod::kSaturationValue:
          range_.Add(imaging::BytesToHsv(in));
          break;
        case StretchMethod::kPerChannel:
          for (int c = 0; c < 3; ++c) lo[c] = std::min<int>(lo[c], in[c]), hi[c] = std::max<int>(hi[c], in[c]);
          break;
        case StretchMethod::kComplementary: {
          uint8_t cmy[3];
          int k;
          Complement(in, cmy, &k);
          range_.Add(imaging::BytesToHsv(cmy));
          break;
        }
      }
    }
  });
  if (method_ != StretchMethod::kPerChannel) return;
  for (int c = 0; c < 3; ++c) {
    std::fill_n(table_[c], 256, uint8_t(0));
    if (lo[c] > hi[c]) continue;  // an empty area
    for (int v = lo[c]; v <= hi[c]; ++v)
      table_[c][v] = lo[c] == hi[c] ? uint8_t(v) : uint8_t(MulDivRound(255, v - lo[c], hi[c] - lo[c]));
  }
}

void ContrastStretch::Write(const PixelPass& pass) const {
  ForEachPassRow(pass, pass.rowBegin, pass.rowEnd, [&](const uint8_t* in, uint8_t* out, int count) {
    for (int x = 0; x < count; ++x, in += 3, out += 3) {
      switch (method_) {
        case StretchMethod::kSaturationValue: {
          imaging::Hsv c = imaging::BytesToHsv(in);
          range_.Stretch(c);
          imaging::HsvToBytes(c, out);
          break;
        }
        case StretchMethod::kPerChannel:
          for (int c = 0; c < 3; ++c) out[c] = table_[c][in[c]];
          break;
        case StretchMethod::kComplementary: {
          uint8_t cmy[3];
          int k;
          Complement(in, cmy, &k);
          imaging::Hsv c = imaging::BytesToHsv(cmy);
          range_.Stretch(c);
          c.s = std::clamp(c.s, 0.0, 1.0);
          double unit[3];
          imaging::HsvToUnit(c, unit);
          const double cy = std::min(255.0, unit[0] * 255 + k), mg = std::min(255.0, unit[1] * 255 + k),
                       ye = std::min(255.0, unit[2] * 255 + k);
          out[2] = uint8_t(std::clamp(std::trunc(255 - cy), 0.0, 255.0));
          out[1] = uint8_t(std::clamp(std::trunc(255 - mg), 0.0, 255.0));
          out[0] = uint8_t(std::clamp(std::trunc(255 - ye), 0.0, 255.0));
          break;
        }
      }
    }
  });
}

}  // namespace quillo
