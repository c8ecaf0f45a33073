// libFuzzer target: the X bitmap reader; an accepted picture must be a sound
// 1-bit DIB.
#include "fuzz/format_readers/dib_checks.h"
#include "outside/bxload/xbm_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillo;
  const bxload::XbmImage image = bxload::ReadXbm(data, size, fuzz::kFuzzDibBytes);
  bxload::DibView view;
  if (!image.dib.empty()) {
    if (fuzz::SoundDib(image.dib, view) && view.bitCount != 1) __builtin_trap();
  } else if (image.error.empty()) {
    __builtin_trap();
  }
  return 0;
}
