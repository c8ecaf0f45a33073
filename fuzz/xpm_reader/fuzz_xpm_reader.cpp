// libFuzzer target: the X pixmap reader; an accepted picture must be a sound DIB.
#include "fuzz/format_readers/dib_checks.h"
#include "outside/bxload/xpm_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillo;
  const bxload::XpmImage image = bxload::ReadXpm(data, size, fuzz::kFuzzDibBytes);
  bxload::DibView view;
  if (!image.dib.empty()) fuzz::SoundDib(image.dib, view);
  else if (image.error.empty()) __builtin_trap();
  return 0;
}
