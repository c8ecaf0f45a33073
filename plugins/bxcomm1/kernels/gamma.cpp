#include "gamma.h"

#include <algorithm>
#include <cmath>

namespace quillo {

double GammaChannelExponent(int sliderValue) {
  const int v = std::clamp(sliderValue, 1, 200);
  return v < 100 ? double(v) / 100.0 : 1.0 + double(v - 100) / 10.0;
}

double GammaMasterExponent(int sliderValue) {
  const int v = std::clamp(sliderValue, 1, 1000);
  return v < 100 ? double(v) / 100.0 : 1.0 + double(v - 100) / 100.0;
}

ByteTable GammaTable(double exponent) {
  ByteTable table;
  for (int i = 0; i < 256; ++i) {
    const double v = 255.0 * std::pow(double(i) / 255.0, exponent);
    table[i] = uint8_t(std::clamp(int(v), 0, 255));
  }
  return table;
}

void GammaKernel::Prepare(const GammaSettings& settings) {
  ChannelTables tables;
  if (!settings.perChannel) {
    const ByteTable master = GammaTable(GammaMasterExponent(settings.master));
    tables.byChannel = {master, master, master};
  } else {
    const ByteTable identity = IdentityTable();
    tables.byChannel[0] =
        settings.blueOn ? GammaTable(GammaChannelExponent(settings.blue)) : identity;
    tables.byChannel[1] =
        settings.greenOn ? GammaTable(GammaChannelExponent(settings.green)) : identity;
    tables.byChannel[2] =
        settings.redOn ? GammaTable(GammaChannelExponent(settings.red)) : identity;
  }
  runner_.Prepare(tables);
}

void GammaKernel::Run(const PixelPass& pass, int rowBegin, int rowEnd) const {
  runner_.Run(pass, rowBegin, rowEnd);
}

}  // namespace quillo
