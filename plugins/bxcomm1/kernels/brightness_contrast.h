// Brightness/Contrast: every enabled channel byte x becomes TC[TB[x]].
//
// Brightness table (integer division):
//   b >= 0: TB[i] = i + ((255 - i) * b) / 255
//   b <  0: TB[i] = (i * (b + 255)) / 255
// Contrast table, with t = i for i <= 127 and 255 - i above:
//   c >= 0: e = 127 / (127 - c) (e = 127 at c = 127), r = trunc(127 * (t / 127)^e)
//   c <  0: e = (c + 127) / 127, t raised to at least 1, r = trunc(127 * (t / 127)^e)
//   r clamped to 0..255; TC[i] = r for i <= 127, 255 - r for i >= 128.
// The two tables are composed into one byte table per channel per pass.
#pragma once
#include "channel_tables.h"
#include "imaging/basics/pixel_pass.h"

namespace quillo {

struct BrightnessContrastSettings {
  int brightness = 0;  // -255..255
  int contrast = 0;    // -127..127
  bool red = true;     // byte 2
  bool green = true;   // byte 1
  bool blue = true;    // byte 0
};

ByteTable BrightnessTable(int brightness);
ByteTable ContrastTable(int contrast);

class BrightnessContrastKernel {
 public:
  // Builds the tables; values outside the slider ranges are clamped.
  void Prepare(const BrightnessContrastSettings& settings);
  void Run(const PixelPass& pass, int rowBegin, int rowEnd) const;

  const ChannelTables& Tables() const { return runner_.Tables(); }

 private:
  ChannelTableRunner runner_;
};

}  // namespace quillo
