// Gamma: a power curve per channel, T[i] = trunc(255 * (i / 255)^e).
//
// Slider value v to exponent e:
//   channel sliders (1..200): v < 100 -> v / 100, else 1 + (v - 100) / 10  (0.01 .. 11)
//   master slider (1..1000):  v < 100 -> v / 100, else 1 + (v - 100) / 100 (0.01 .. 10)
// Master mode sends all three bytes through the master table; per-channel mode
// sends red (byte 2), green (byte 1) and blue (byte 0) through their own
// tables when their switch is on and copies them otherwise.
#pragma once
#include "channel_tables.h"
#include "imaging/basics/pixel_pass.h"

namespace quillo {

struct GammaSettings {
  int master = 100;  // 1..1000
  int red = 100;     // 1..200
  int green = 100;   // 1..200
  int blue = 100;    // 1..200
  bool perChannel = false;
  bool redOn = true, greenOn = true, blueOn = true;
};

double GammaChannelExponent(int sliderValue);
double GammaMasterExponent(int sliderValue);
ByteTable GammaTable(double exponent);

class GammaKernel {
 public:
  // Builds the tables; slider values outside their ranges are clamped.
  void Prepare(const GammaSettings& settings);
  void Run(const PixelPass& pass, int rowBegin, int rowEnd) const;

  const ChannelTables& Tables() const { return runner_.Tables(); }

 private:
  ChannelTableRunner runner_;
};

}  // namespace quillo
