// libFuzzer target: the first-image GIF reader; whatever it accepts must
// write through our LZW encoder and read back unchanged.
#include "fuzz/format_readers/dib_checks.h"
#include "outside/bxload/gif_codec.h"

// A smaller DIB limit than the other targets' keeps each run fast.
constexpr uint64_t kGifDibBytes = uint64_t(1) << 17;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillo;
  const bxload::GifPicture picture = bxload::ReadGif(data, size, kGifDibBytes);
  if (!picture.dib.empty()) fuzz::ExpectRoundTrip(picture.dib, bxload::WriteGif, bxload::ReadGif);
  else if (picture.error.empty()) __builtin_trap();
  return 0;
}
