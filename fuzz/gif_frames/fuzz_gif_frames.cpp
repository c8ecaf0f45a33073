// Frame building on arbitrary bytes: every decoded image's colour table is
// copied and its pixels placed on a screen block at the file's common
// depth, as the animation loader does for each frame DIB. Placement must
// accept every frame the decoder hands over and write only inside the block.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "contracts/dib_format.h"
#include "gifanim/gif_decode.h"
#include "gifanim/gif_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gifanim::GifLimits limits;
  limits.max_frame_pixels = 1u << 20;
  limits.max_total_pixels = 1u << 22;
  gifanim::GifImage img;
  if (gifanim::DecodeGif(data, size, img, limits) != gifanim::GifStatus::kOk) return 0;
  if (img.screen_width <= 0 || img.screen_height <= 0) return 0;
  const int bit_count = gifanim::FrameBitCount(img);
  const int entries = gifanim::TableEntries(bit_count);
  const uint64_t stride = static_cast<uint64_t>(quillo::DibStride(img.screen_width, bit_count));
  const uint64_t block = stride * static_cast<uint64_t>(img.screen_height);
  if (block > (uint64_t{1} << 22)) return 0;  // keep each run small
  std::vector<uint8_t> table(4 * static_cast<std::size_t>(entries));
  std::vector<uint8_t> bits(static_cast<std::size_t>(block));
  for (const auto& f : img.frames) {
    gifanim::FillColourTable(f, table.data(), entries);
    if (!gifanim::PlaceFrame(f, bits.data(), block, stride, img.screen_width, img.screen_height,
                             bit_count))
      abort();
  }
  return 0;
}
