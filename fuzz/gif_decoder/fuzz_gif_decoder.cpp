// Whole-file GIF decoding on arbitrary bytes. Small pixel limits keep each
// run fast; the checks below hold for every input the decoder accepts.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "gifanim/gif_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gifanim::GifLimits limits;
  limits.max_frame_pixels = 1u << 20;
  limits.max_total_pixels = 1u << 22;
  gifanim::GifImage img;
  const auto st = gifanim::DecodeGif(data, size, img, limits);
  if (st != gifanim::GifStatus::kOk) {
    if (!img.frames.empty()) abort();
    return 0;
  }
  for (const auto& f : img.frames) {
    const uint64_t pixels = static_cast<uint64_t>(f.width) * static_cast<uint64_t>(f.height);
    if (f.decoded > pixels || f.indices.size() != gifanim::KeptCount(f)) abort();
    if (f.kept_width < 0 || f.kept_width > f.width || f.kept_height < 0 || f.kept_height > f.height)
      abort();
    if (img.screen_width > 0 && img.screen_height > 0 &&
        (f.left + f.kept_width > std::max(img.screen_width, f.left) ||
         f.top + f.kept_height > std::max(img.screen_height, f.top)))
      abort();
    if (f.palette.size() > 256) abort();
    if (f.disposal < 0 || f.disposal > 7 || f.transparent < -1 || f.transparent > 255) abort();
  }
  return 0;
}
