// libFuzzer target: the brush and pattern readers on the same bytes; an
// accepted picture must be a sound DIB.
#include "fuzz/format_readers/dib_checks.h"
#include "outside/bxload/gimp_formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillo;
  for (const bxload::GimpImage& image :
       {bxload::ReadGbr(data, size, fuzz::kFuzzDibBytes), bxload::ReadPat(data, size, fuzz::kFuzzDibBytes)}) {
    bxload::DibView view;
    if (!image.dib.empty()) fuzz::SoundDib(image.dib, view);
    else if (image.error.empty()) __builtin_trap();
  }
  return 0;
}
