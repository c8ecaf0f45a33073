// Portable GIF file decoder: walks the block structure of a GIF87a/GIF89a
// file and decodes every image block into its own colour indices, holding
// only the part of each image that is kept (by default the part on the
// logical screen). No composition: each frame keeps its rectangle, control
// values and palette.
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
  // The corner of the image whose pixels are kept: its first kept_width
  // columns of its first kept_height rows. Decoding for a logical screen
  // keeps the part on the screen, which is always such a corner because the
  // screen starts at (0, 0) and an image never lies left of or above it.
  int kept_width = 0, kept_height = 0;
  int transparent = -1;    // colour index, -1 when none
  int delay_ms = 0;        // delay in hundredths x 10
  int user_input = 0;
  int disposal = 0;        // 0..7 as stored
  bool has_control = false;
  bool interlaced = false;
  bool local_table = false;
  std::vector<Rgb> palette;      // local table, else a copy of the global one
  // The kept pixels that the code stream delivered, kept_width to a row, rows
  // in the stream's order (see KeptRow); KeptCount(*this) of them. Pixels
  // never delivered are not held and count as index 0.
  std::vector<uint8_t> indices;
  std::size_t decoded = 0;       // pixels of the whole image the stream delivered
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

// Limits on the index buffers the decoder allocates. An image is charged
// for what it can really hold: the smaller of its kept area and what its
// code stream can yield (MaxLzwPixels), not its stated width x height.
struct GifLimits {
  uint64_t max_frame_pixels = uint64_t{1} << 28;  // one image's buffer
  uint64_t max_total_pixels = uint64_t{1} << 30;  // sum over all images
  std::size_t max_frames = 1u << 16;
};

// Which pixels of each image the decoder keeps.
enum class GifKeep {
  kOnScreen,    // the part on the logical screen, all that frame building
                // uses; the whole image when the screen has no size
  kWholeImage,  // every pixel, whatever the screen
};

// Decodes a whole file held in memory. On any failure `out` is left empty.
GifStatus DecodeGif(const uint8_t* data, std::size_t size, GifImage& out,
                    const GifLimits& limits = GifLimits{}, GifKeep keep = GifKeep::kOnScreen);

// The shape of one image for the LZW decoder: its size and row order, and
// the top-left corner of it whose pixels are kept.
struct LzwShape {
  int width = 0, height = 0;
  bool interlaced = false;
  int kept_width = 0, kept_height = 0;
};

// Decodes one LZW code stream (the bytes after the minimum-code-size byte,
// sub-block lengths already removed) of an image of `shape`. Every pixel is
// counted in `decoded`; those in the kept corner go to `kept` in the order
// the stream delivers them, kept_width to a row (see KeptRow), and `stored`
// receives their number. At most `capacity` are written; a capacity of
// min(kept area, MaxLzwPixels) always holds them all. Returns kOk, kBadLzw
// (also for more pixels than width x height) or kBadCodeSize.
GifStatus DecodeLzw(int min_code_size, const uint8_t* codes, std::size_t size,
                    const LzwShape& shape, uint8_t* kept, std::size_t capacity,
                    std::size_t& decoded, std::size_t& stored);

// The most pixels a code stream of `code_bytes` bytes can yield. Codes are at
// least max(min_code_size + 1, 2) bits wide, so there are at most
// c = 8 x code_bytes / that many codes; the k-th code after a clear yields at
// most k pixels (each new table entry is one longer than an older one) and
// no code yields more than the 4096-entry table allows, so the yield is at
// most the sum over k = 1..c of min(k, 4096).
uint64_t MaxLzwPixels(int min_code_size, std::size_t code_bytes);

// Number of pixels of the kept corner among the first `decoded` pixels of the
// frame's stream: the size its indices must have.
std::size_t KeptCount(const GifFrame& f);

// Image row of the n-th row held in a frame's indices. Rows come in stream
// order: top to bottom, or for interlaced images in the four passes. The
// kept rows of an interlaced image (those above kept_height) keep their pass
// order, which is the pass order of an image kept_height rows high.
int KeptRow(const GifFrame& f, int n);

// Row of the image that the n-th decoded row fills (four-pass interlace:
// every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).
int InterlacedRow(int n, int height);

}  // namespace gifanim
