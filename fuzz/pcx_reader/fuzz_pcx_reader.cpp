// libFuzzer target: the PCX reader; whatever it accepts must write and read
// back unchanged.
#include "fuzz/format_readers/dib_checks.h"
#include "outside/bxload/pcx_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillo;
  const bxload::PcxImage image = bxload::ReadPcx(data, size, fuzz::kFuzzDibBytes);
  if (!image.dib.empty()) fuzz::ExpectRoundTrip(image.dib, bxload::WritePcx, bxload::ReadPcx);
  else if (image.error.empty()) __builtin_trap();
  return 0;
}
