#include "brightness_contrast.h"

#include <algorithm>
#include <cmath>

namespace quillo {

ByteTable BrightnessTable(int brightness) {
  const int b = std::clamp(brightness, -255, 255);
  ByteTable table;
  for (int i = 0; i < 256; ++i) {
    const int v = b >= 0 ? i + ((255 - i) * b) / 255 : (i * (b + 255)) / 255;
    table[i] = uint8_t(v);
  }
  return table;
}

ByteTable ContrastTable(int contrast) {
  const int c = std::clamp(contrast, -127, 127);
  double e;
  if (c >= 0) {
    e = c == 127 ? 127.0 : 127.0 / double(127 - c);
  } else {
    e = double(c + 127) / 127.0;
  }
  ByteTable table;
  for (int i = 0; i < 256; ++i) {
    int t = i <= 127 ? i : 255 - i;
    if (c < 0) t = std::max(t, 1);
    const int r = std::clamp(int(127.0 * std::pow(double(t) / 127.0, e)), 0, 255);
    table[i] = uint8_t(i <= 127 ? r : 255 - r);
  }
  return table;
}

void BrightnessContrastKernel::Prepare(const BrightnessContrastSettings& settings) {
  const ByteTable tb = BrightnessTable(settings.brightness);
  const ByteTable tc = ContrastTable(settings.contrast);
  ByteTable composed;
  for (int i = 0; i < 256; ++i) composed[i] = tc[tb[i]];
  const ByteTable identity = IdentityTable();
  ChannelTables tables;
  tables.byChannel[0] = settings.blue ? composed : identity;
  tables.byChannel[1] = settings.green ? composed : identity;
  tables.byChannel[2] = settings.red ? composed : identity;
  runner_.Prepare(tables);
}

void BrightnessContrastKernel::Run(const PixelPass& pass, int rowBegin, int rowEnd) const {
  runner_.Run(pass, rowBegin, rowEnd);
}

}  // namespace quillo
