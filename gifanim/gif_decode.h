// Portable GIF file decoder: walks the block structure of a GIF87a/GIF89a
// file and decodes every image block into its own colour indices. No
// composition: each frame keeps its rectangle, control values and palette.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gifanim {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

enum class GifStatus {
  kOk = 0,
  kBadSignature,   // not "GIF87a" / "GIF89a"
  kTruncated,      // file ends before a block (or the trailer) is complete
  kBadLzw,         // invalid code stream, or more pixels than the image holds
  kBadCodeSize,    // minimum code size above 11
  kTooLarge,       // an image exceeds the pixel limits
};

struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  int transparent = -1;    // colour index, -1 when none
  int delay_ms = 0;        // delay in hundredths x 10
  int user_input = 0;
  int disposal = 0;        // 0..7 as stored
  bool has_control = false;
  bool interlaced = false;
  bool local_table = false;
  std::vector<Rgb> palette;      // local table, else a copy of the global one
  std::vector<uint8_t> indices;  // width x height, rows top to bottom
  std::size_t decoded = 0;       // pixels the code stream delivered; the rest are 0
};

struct GifImage {
  int screen_width = 0, screen_height = 0;
  int colour_resolution = 0;   // ((flags & 0x70) >> 3) + 1
  int global_table_size = 0;   // 2 << (flags & 7), present or not
  int global_count = 0;        // global_table_size when present, else 0
  int background = -1;         // -1 without a global table
  std::vector<Rgb> global_palette;
  std::vector<GifFrame> frames;
};

struct GifLimits {
  uint64_t max_frame_pixels = uint64_t{1} << 28;  // one image's width x height
  uint64_t max_total_pixels = uint64_t{1} << 30;  // sum over all images
  std::size_t max_frames = 1u << 16;
};

// Decodes a whole file held in memory. On any failure `out` is left empty.
GifStatus DecodeGif(const uint8_t* data, std::size_t size, GifImage& out,
                    const GifLimits& limits = GifLimits{});

// Decodes one LZW code stream (the bytes after the minimum-code-size byte,
// sub-block lengths already removed) into `pixels`, which holds the image's
// width x height indices (rows top to bottom; interlaced streams are placed
// in their four-pass row order). Returns kOk, kBadLzw or kBadCodeSize;
// `decoded` receives the pixel count written. Pixels never decoded keep
// whatever the buffer held.
GifStatus DecodeLzw(int min_code_size, const uint8_t* codes, std::size_t size,
                    uint8_t* pixels, std::size_t pixel_count, bool interlaced, int width,
                    int height, std::size_t& decoded);

// Row of the image that the n-th decoded row fills (four-pass interlace:
// every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).
int InterlacedRow(int n, int height);

}  // namespace gifanim
